#pragma once

#include "DefaultMessageStore.h"
#include "MainState.h"

#include <QString>

namespace tavrin::storage {

// Error numbers of a failed read, shown as "Error <n> opening file.".
enum ReadErrorNumber : int {
    kErrorOverflow = 6, // a value beyond 16 bits
    kErrorFileTooLarge = 7, // far larger than any configuration file
    kErrorTypeMismatch = 13, // no number where one is needed
    kErrorFileNotFound = 53, // the file does not exist
    kErrorDeviceIO = 57, // the read itself failed
    kErrorFileAccess = 75, // not a readable file (permissions, a folder, a device)
    kErrorInvalidValue = 380, // a list position the list does not have
};

struct ReadResult
{
    bool ok = true; // the end of the file was reached
    int errorNumber = 0;
    QString description;
    // After a complete read, the default-message summary for the SetupDefaultMsg tool tip;
    // empty after an error, when the tool tip is left alone.
    QString toolTip;
    // What else the user must know: after a complete read, the settings the file did not set
    // (they kept their previous values); after an error, how much of the file was applied.
    // Empty when every setting was read.
    QString notice;

    // What the window shows before its suggestion, empty for nothing: after an error
    // "Error <n> opening file." CR LF description CR LF notice; otherwise the notice.
    QString message() const;
};

// Applies every keyed line of a .led file to the window's state and the default-message
// record. Nothing is reset first, so a missing key leaves its control as it was; on an
// error the lines before it stay applied and the rest of the file is not read. Lines are
// applied whole: a line with a bad field changes nothing.
ReadResult readConfigFile(const QString &path, core::MainState &state,
                          core::DefaultMessageStore &store);
// The same for a file's bytes already in memory (Windows-1252).
ReadResult readConfigBytes(const QByteArray &bytes, core::MainState &state,
                           core::DefaultMessageStore &store);

} // namespace tavrin::storage
