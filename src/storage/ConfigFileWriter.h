#pragma once

#include "DefaultMessageStore.h"
#include "MainState.h"

#include <QString>

namespace tavrin::storage {

// Lines 1-23 of a .led file for the window's state and default-message record, each ended
// by CR LF.
QString configurationText(const core::MainState &state, const core::DefaultMessageStore &store);

// Replaces the file atomically with sText and one CR LF in Windows-1252: a failed save leaves
// an existing file as it was. False on any error.
bool SaveTextToFile(const QString &FileFullPath, const QString &sText);

} // namespace tavrin::storage
