#pragma once

#include "SignConfig.h"

#include <QStringList>

#include <QString>

#include <array>
#include <chrono>
#include <optional>

namespace tavrin::protocol {

// The pause between a link's clearing command and its link command.
inline constexpr std::chrono::milliseconds kLinkPause { 150 };

// The seven commands of one upload, built from the controls at the click: priority rows
// 0-4, the ID mode and the user command.
using UploadCommands = std::array<QString, 7>;
UploadCommands uploadCommands(const SignConfig &config);

// Why the configuration cannot be uploaded, as the text to show; nothing when it can. Every
// timeout must be written as digits alone (no sign, no blanks, since the sign receives the
// text as typed) with a value from 0 to 32767 seconds.
std::optional<QString> timeoutProblem(const SignConfig &config);

// Compares the configuration with the last-known sign image, marks what differs, and returns
// a count that is 0 exactly when nothing is to be sent. The image is left as it is: it takes
// an item's values only when the sign confirms the item (confirmUploadItem).
int markChanges(const SignConfig &config, const SignImage &image, PendingFlags &flags);

// Marks everything as pending, as "Force Upload" does before it uploads.
void markAllPending(PendingFlags &flags);

// The number of pending items: rows, links 0-7, ID mode and user command.
int pendingCount(const PendingFlags &flags);

// One item of an upload: a priority row, the ID mode, the user command or a link.
struct UploadItem
{
    enum class Kind { None, Row, AutoID, UserCommand, Link };
    Kind kind = Kind::None;
    int index = -1; // row 0-4 or link ID 0-7
    friend bool operator==(const UploadItem &, const UploadItem &) = default;
};
// Takes the item off the pending flags.
void clearPending(PendingFlags &flags, const UploadItem &item);
// The name the operator knows the item by: "Priority 2", "Link 5", "ID mode", "User command".
QString uploadItemName(const UploadItem &item);
// The sign confirmed the item: it is no longer pending, and the image holds what was sent
// (the rows, ID mode and user command of the click, a link as its command carried it).
void confirmUploadItem(SignImage &image, PendingFlags &flags, const UploadItem &item,
                       const SignConfig &sent);

// What one step of the upload writes: first; when pauseThenSecond, kLinkPause later, second;
// when finished, nothing more.
struct UploadStep
{
    QString first;
    bool pauseThenSecond = false;
    QString second;
    bool finished = false;
    UploadItem item;
    LinkRow link; // for a link item: the row as its commands carry it
};

// The first pending item in the fixed order (rows 0-4, ID mode, user command, links 0-7)
// that `taken` does not hold yet; marks it there and leaves the pending flags alone. Link
// commands are built from the controls as they stand now (a capcode that reads as 0 empties
// the row, a missing priority becomes the first).
UploadStep nextUploadStep(SignConfig &config, const PendingFlags &flags,
                          const UploadCommands &commands, PendingFlags &taken);

} // namespace tavrin::protocol
