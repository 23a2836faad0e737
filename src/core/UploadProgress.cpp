#include "UploadProgress.h"

#include <algorithm>

namespace tavrin::core {

int markChangedItems(MainState &state)
{
    return protocol::markChanges(state.config, state.image, state.flags);
}

int uploadProgressMaximum(const PendingFlags &flags)
{
    return 1 + kUploadProgressStep * protocol::pendingCount(flags);
}

void advanceUploadProgress(MainState &state)
{
    // A maximum of 1 means nothing was pending at the click: the bar is left alone.
    if (state.progressMaximum <= 1)
        return;
    if (state.progressMaximum > state.progressValue)
        state.progressValue
            = std::min(state.progressValue + kUploadProgressStep, state.progressMaximum);
    if (state.progressValue >= state.progressMaximum)
        state.progressVisible = false;
}

UploadStep uploadTick(MainState &state, const UploadCommands &commands)
{
    advanceUploadProgress(state);
    PendingFlags taken;
    const UploadStep step = protocol::nextUploadStep(state.config, state.flags, commands, taken);
    if (step.finished)
        state.progressVisible = false;
    protocol::clearPending(state.flags, step.item);
    return step;
}

QStringList uploadPlan(MainState state, bool force)
{
    if (force)
        protocol::markAllPending(state.flags);
    const UploadCommands commands = protocol::uploadCommands(state.config);
    markChangedItems(state);
    QStringList plan;
    for (UploadStep step = uploadTick(state, commands); !step.finished;
         step = uploadTick(state, commands)) {
        if (!step.first.isEmpty())
            plan << step.first;
        if (step.pauseThenSecond && !step.second.isEmpty())
            plan << step.second;
    }
    return plan;
}

} // namespace tavrin::core
