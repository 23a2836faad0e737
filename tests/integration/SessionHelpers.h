#pragma once

#include "MainController.h"
#include "SignSimProcess.h"
#include "SignState.h"
#include "TestHelpers.h"

#include <QTest>

// Expectations shared by the integration tests: the simulator's factory configuration as
// the main window should show it.
inline void compareWithFactory(const tavrin::core::MainState &state, const QString &model)
{
    const auto factory = tavrin::signsim::SignState::factory(model);
    for (int k = 0; k < tavrin::core::kRows; ++k) {
        const auto &r = state.config.rows[size_t(k)];
        const auto &e = factory.priorities[size_t(k)];
        const auto &a = e.attributes;
        QCOMPARE((QList<int> { r.font, r.color, r.style, r.alignment, r.speed, r.pause, r.beep }),
                 (QList<int> { a.font, a.color, a.style, a.alignment, a.speed, a.pause, e.beep }));
        QCOMPARE(r.timeout, QString::number(e.timeoutSeconds));
    }
    for (int i = 0; i < tavrin::core::kLinks; ++i) {
        const auto &slot = factory.links[size_t(i)];
        QCOMPARE(state.config.links[size_t(i)].capcode, slot.capcodes.join(QLatin1Char(',')));
        QCOMPARE(state.config.links[size_t(i)].priority,
                 slot.capcodes.isEmpty() ? -1 : slot.priority);
    }
    QCOMPARE(state.config.autoID, factory.autoId ? 1 : 0);
    QCOMPARE(state.config.userCommand, factory.userCommand);
}

// Runs a download on the selected port and waits until its port has closed again.
inline bool downloadFromSign(tavrin::core::MainController &controller)
{
    controller.download();
    if (!controller.isBusy())
        return false;
    return QTest::qWaitFor([&] { return !controller.isBusy(); }, 5000);
}

// Waits until a message editor's sends are over and its port is closed.
template<typename Editor> bool portClosed(Editor &editor)
{
    return QTest::qWaitFor([&] { return !editor.isBusy(); }, 5000) && !editor.serialLink().isOpen();
}
