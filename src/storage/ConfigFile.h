#pragma once

#include "ConfigFileReader.h"
#include "ConfigFileWriter.h"

#include <QString>

namespace tavrin::storage {

// What the main window's "Save" and "&Open" commands show; the dialogs and boxes are its own.
inline const QString kErrorSavingFile = QStringLiteral("Error Saving File");
inline const QString kSuggestionTitle = QStringLiteral("Suggestion");
inline const QString kSuggestionText
    = QStringLiteral("It is Better to use Force Upload after opening up a file\r\n"
                     "It will make sure that all the settings are written to the Sign");
inline const QString kConfigFileFilter = QStringLiteral("Text (*.led) | *.led");
inline const QString kConfigFileDialogFilter = QStringLiteral("Text (*.led)"); // Qt's form

// Saves lines 1-23 and the closing empty line to path, used as chosen (no extension added).
// On failure the window shows savingFailureText().
SaveResult saveConfiguration(const QString &path, const SavedSettings &settings);
// kErrorSavingFile, then the file and why it could not be written.
QString savingFailureText(const QString &path, const SaveResult &result);

} // namespace tavrin::storage
