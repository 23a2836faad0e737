#pragma once

#include "MainState.h"
#include "Upload.h"

#include <QStringList>

namespace tavrin::core {

// The progress bar advances by this much for every upload step.
inline constexpr int kUploadProgressStep = 20;

// The window's view of the upload plan in the protocol room.
using protocol::UploadCommands;
using protocol::UploadItem;
using protocol::UploadStep;

// Marks what differs between the controls and the last-known sign image; 0 when nothing is
// to be sent.
int markChangedItems(MainState &state);

// 1 + 20 for every pending row, link 0-7, ID mode and user command.
int uploadProgressMaximum(const PendingFlags &flags);

// Advances the progress bar by one upload step; hides it once it is full.
void advanceUploadProgress(MainState &state);

// One step of an upload that counts every item as delivered: advances the bar and takes the
// next pending item off the flags. For plans and for replaying a file, never for a sign.
UploadStep uploadTick(MainState &state, const UploadCommands &commands);

// The commands an upload from this state would write, in order, with the sign left alone:
// what upload and its ticks send, everything when force (as after uploadEverything).
QStringList uploadPlan(MainState state, bool force);

} // namespace tavrin::core
