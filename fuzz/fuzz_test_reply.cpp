// The sign's lines, one after another, through the test-message window's reply handler, in a
// window opened over each of the main window's start states with "Save changes to Priority"
// ticked, so that every selection a record makes is written back to the main window too. Each
// line answers the download and a message in turn.
#include "SignFuzzing.h"

#include "TestMessageEditor.h"

#include <QGuiApplication>

using namespace tavrin;

namespace {

// Every list of the window shows one of its own positions, or nothing.
void checkEditor(const editors::TestMessageState &state)
{
    fuzz::requireListSelections(state, vocab::kAttributes, "test message list selection");
    static const qsizetype messageIds = vocab::messageIdEntries().size();
    fuzz::require(state.messageId >= -1 && state.messageId < messageIds, "message ID selection");
    fuzz::require(state.priority >= -1 && state.priority < vocab::kPriorityCount,
                  "priority selection");
}

const QString kOutstanding[] = { QStringLiteral("DOWNLOAD_DEFAULT_MSG\r"),
                                 QStringLiteral("<id=0 f=0 s=0 c=0 a=0 b=0 p=0 sp=0 t=10>x\r") };

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::ensureApplication<QGuiApplication>(); // the composer is a text document
    const QStringList lines = fuzz::replyLines(data, size);
    core::MainController &main = fuzz::mainController();
    for (const core::MainState &start : fuzz::startStates()) {
        main.setState(start);
        main.defaultMessage().saveSettingsTick = 1;
        editors::TestMessageEditor editor(main);
        editor.open();
        checkEditor(editor.state());
        for (const QString &line : lines) {
            for (const QString &outstanding : kOutstanding) {
                editor.handleTestReply(protocol::SignAnswer::paired(line, outstanding));
                checkEditor(editor.state());
                fuzz::checkMainState(main.state());
            }
        }
    }
    return 0;
}
