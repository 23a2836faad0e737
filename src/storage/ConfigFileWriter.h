#pragma once

#include "ConfigFileReader.h"

#include <QString>

namespace tavrin::storage {

// Lines 1-23 of a .led file for settings, each ended by CR LF.
QString configurationText(const SavedSettings &settings);
// Replaces the file at path with text and one CR LF in Windows-1252, atomically: a failed
// save leaves an existing file as it was. False on any error.
bool writeTextFile(const QString &path, const QString &text);

} // namespace tavrin::storage
