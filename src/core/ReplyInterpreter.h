#pragma once

#include "MainState.h"

#include <QString>

namespace tavrin::core {

// FCount caption for firmware that reports no build number; checkFirmwareBuild looks for it.
inline const QString kFirmwareCountNotAvailable = QStringLiteral("Not Available");

// What one reply line did to the main window, and what the window has to run because of it.
struct ReplyOutcome
{
    MainState state;
    bool statusShown = false; // Textout was shown: restart TextClear
    bool showPriority = false; // the model label is not empty: run showPriorities
    bool firmwareCountSet = false; // FCount was written: run checkFirmwareBuild
    bool profileApplied = false; // the model profile was re-applied: refill lists and layout
};

// Interprets one line from the sign (without its line feed). A line that answers an
// outstanding DOWNLOAD_ALL (answersDownload: the caller has found it whole) is read into the
// controls and the last-known sign image, whatever words its texts hold. Any other line is
// an acknowledgement at most: it may show a status text, and changes no setting.
ReplyOutcome parseSignReply(const QString &line, const MainState &state,
                            bool answersDownload = false);

} // namespace tavrin::core
