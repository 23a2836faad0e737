#pragma once

#include "MainState.h"

#include <QString>

#include <array>
#include <optional>

namespace tavrin::core {

// The progress bar advances by this much for every upload step.
inline constexpr int kUploadProgressStep = 20;
// Sleep ticks (10 ms each) between a link's clearing command and its link command.
inline constexpr int kLinkPauseTicks = 15;

// The seven commands of one upload, built from the controls at the click: priority rows
// 0-4, the ID mode and the user command.
using UploadCommands = std::array<QString, 7>;
UploadCommands uploadCommands(const SignConfig &config);

// Why the configuration cannot be uploaded, as the text to show; nothing when it can. Every
// timeout must be written as digits alone (no sign, no blanks, since the sign receives the
// text as typed) with a value from 0 to 32767 seconds.
std::optional<QString> timeoutProblem(const SignConfig &config);

// Compares the controls with the last-known sign image, marks and stores what differs, and
// returns a count that is 0 exactly when nothing is to be sent.
int getChangedRows(MainState &state);

// Marks everything as pending, as "Force Upload" does before it uploads.
void markAllPending(PendingFlags &flags);

// 1 + 20 for every pending row, link 0-7, ID mode and user command.
int uploadProgressMaximum(const PendingFlags &flags);

// One pending item of an upload, so that an item whose write failed can be put back.
struct UploadItem
{
    enum class Kind { None, Row, AutoID, UserCommand, Link };
    Kind kind = Kind::None;
    int index = -1; // row 0-4 or link ID 0-7
    friend bool operator==(const UploadItem &, const UploadItem &) = default;
};
void markPending(PendingFlags &flags, const UploadItem &item);

// What one tick of the upload asks the window to do: write first; when pauseThenSecond,
// Sleep(15) and write second; when finished, close the port and restore the buttons.
struct UploadStep
{
    QString first;
    bool pauseThenSecond = false;
    QString second;
    bool finished = false;
    UploadItem item; // taken off the pending flags by this tick
};

// One UploadTimer tick: advances the progress bar and takes the first pending item in the
// fixed order (rows 0-4, ID mode, user command, links 0-7), clearing its flag. Link commands
// are built from the controls as they stand now.
UploadStep uploadTick(MainState &state, const UploadCommands &commands);

// The commands an upload from this state would write, in order, with the sign left alone:
// what UploadAll_Click and its ticks send, everything when force (as after ForceUpload_Click).
QStringList uploadPlan(MainState state, bool force);

} // namespace tavrin::core
