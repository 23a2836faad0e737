// The sign's lines, one after another, through the main window's reply interpreter, from a
// freshly started window and from one that has just read each model's configuration.
#include "SignFuzzing.h"

#include "SignReplies.h"

using namespace tavrin;

namespace {

bool sameConfiguration(const core::MainState &a, const core::MainState &b)
{
    return a.config == b.config && a.image == b.image && a.flags == b.flags
        && a.modelNumber == b.modelNumber;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = fuzz::replyLines(data, size);
    core::MainController &controller = fuzz::mainController();
    static bool configurationRead = false;
    static const QMetaObject::Connection connection
        = QObject::connect(&controller, &core::MainController::configurationReceived,
                           [] { configurationRead = true; });
    for (const core::MainState &start : fuzz::startStates()) {
        controller.setState(start);
        for (const QString &line : lines) {
            const core::MainState before = controller.state();
            configurationRead = false;
            // As the window takes a line while its DOWNLOAD_ALL is outstanding.
            const bool whole = protocol::isWholeConfigurationLine(line);
            controller.interpretLine(line, whole);
            const core::MainState &state = controller.state();
            fuzz::checkMainState(state);
            fuzz::require(state.profile.vx903 == (state.modelNumber == vocab::kModelVX903),
                          "the lists are those of the last model read");
            // Only the answer to DOWNLOAD_ALL brings a configuration in.
            fuzz::require(configurationRead || sameConfiguration(before, state),
                          "an acknowledgement leaves the configuration alone");
        }
        // Whatever the sign said, an upload must be able to start from it.
        core::uploadPlan(controller.state(), false);
        core::uploadPlan(controller.state(), true);
    }
    return 0;
}
