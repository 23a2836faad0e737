#pragma once

// What the harnesses that play the sign's side of the line share: the lines of an input,
// the main window in the states a reply can meet, and the check that its lists hold.

#include "FuzzSupport.h"

#include "LineAssembler.h"
#include "MainController.h"
#include "SignRecords.h"
#include "SignState.h"
#include "UploadProgress.h"

#include <QByteArrayView>
#include <QList>
#include <QStringList>

#include <array>
#include <cstddef>
#include <cstdint>

namespace tavrin::fuzz {

// The input's lines, cut at line feeds as the serial link cuts what the sign sends; an
// unfinished last line is finished too, so that no byte of the input goes unread.
inline QStringList replyLines(const uint8_t *data, size_t size)
{
    link::LineAssembler assembler;
    QStringList lines = assembler.feed(QByteArrayView(data, qsizetype(size)));
    if (assembler.isWaiting())
        lines += assembler.feed("\n");
    return lines;
}

// Every list of the main window shows one of its own positions, or nothing.
inline void checkMainState(const core::MainState &state)
{
    require(state.portIndex >= -1 && state.portIndex < vocab::kPortCount, "port selection");
    require(state.config.autoID == 0 || state.config.autoID == 1, "AutoID is ticked or clear");
    for (int k = 0; k < protocol::kRows; ++k) {
        const protocol::PriorityRow &row = state.config.rows[size_t(k)];
        for (const vocab::Attribute a : vocab::kAttributes) {
            if (row.code(a) < -1 || row.code(a) >= state.listCount(a)) {
                fail("row selection",
                     QStringLiteral("row %1 list %2 code %3 of %4")
                         .arg(k)
                         .arg(int(a))
                         .arg(row.code(a))
                         .arg(state.listCount(a)));
            }
        }
    }
    for (int i = 0; i < protocol::kLinks; ++i) {
        const protocol::Code priority = state.config.links[size_t(i)].priority;
        require(priority >= -1 && priority < vocab::kPriorityCount, "link priority selection");
    }
}

// One controller for the whole run: each input starts it over with setState().
inline core::MainController &mainController()
{
    ensureApplication();
    static core::MainController *controller = new core::MainController;
    return *controller;
}

// The models whose lines or lists differ: character codes (KR4410, TM207), lists of its own
// (VX903), and every other model.
inline const std::array<QString, 4> kModels
    = { vocab::kModelKR4410, vocab::kModelTM207, vocab::kModelVX903, QStringLiteral("LS200") };

// The main window just after start, then after a sign of each model answered DOWNLOAD_ALL
// with the simulator's factory settings.
inline const QList<core::MainState> &startStates()
{
    static const QList<core::MainState> states = [] {
        core::MainController &controller = mainController();
        QList<core::MainState> result { core::MainState {} };
        for (const QString &model : kModels) {
            controller.setState(core::MainState {});
            controller.interpretLine(signsim::configurationLine(signsim::SignState::factory(model),
                                                                model, QStringLiteral("4")),
                                     true);
            core::MainState configured = controller.state();
            checkMainState(configured);
            require(configured.modelNumber == model, "the factory line names its model");
            // Controls and image agree after a download whose values all exist.
            core::MainState compared = configured;
            if (core::markChangedItems(compared) != 0)
                fail("nothing to upload after a download", model);
            result.append(configured);
        }
        return result;
    }();
    return states;
}

} // namespace tavrin::fuzz
