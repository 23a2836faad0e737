#pragma once

#include "DefaultMessageStore.h"
#include "MainState.h"

#include <QString>

namespace tavrin::storage {

// Lines 1-23 of a .led file for the window's state and default-message record, each ended
// by CR LF.
QString configurationText(const core::MainState &state, const core::DefaultMessageStore &store);

// Writes sText and one CR LF in Windows-1252. With Overwrite the file is replaced
// atomically: a failed save leaves an existing file as it was. Without it the text is
// appended (a missing file is created) and a failed append is cut off again. False on any
// error.
bool SaveTextToFile(const QString &FileFullPath, const QString &sText, bool Overwrite);

} // namespace tavrin::storage
