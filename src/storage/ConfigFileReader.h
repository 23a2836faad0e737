#pragma once

#include "DefaultMessageProtocol.h"
#include "ModelProfile.h"
#include "SignConfig.h"

#include <QString>

namespace tavrin::storage {

// What a .led file holds: the model label, the port, the sign's configuration and its default
// message.
struct SavedSettings
{
    QString modelLabel;
    int portIndex = 0; // port number - 1
    protocol::SignConfig config;
    protocol::DefaultMessage defaultMessage;
};

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
    bool anySetting = false; // some keyed line took effect
    // A keyed line that the file ends inside, without its line break: it may have lost
    // fields or digits ("LinkID1:234567,234" of "LinkID1:234567,234568,1"), so it is named
    // and not applied.
    QString cutLine;

    // What the window shows before its suggestion, empty for nothing: after an error
    // "Error <n> opening file." CR LF description CR LF notice; otherwise the notice.
    QString message() const;
};

// Applies every keyed line of a .led file to settings. Nothing is reset first, so a missing
// key leaves its setting as it was; on an error the lines before it stay applied and the
// rest of the file is not read. Lines are applied whole: a line with a bad field changes
// nothing. A code must be a position of its list in lists, and takes it by the lists'
// select-by-code rule.
ReadResult readConfigFile(const QString &path, SavedSettings &settings,
                          const vocab::MainProfile &lists);
// The same for a file's bytes already in memory (Windows-1252).
ReadResult readConfigBytes(const QByteArray &bytes, SavedSettings &settings,
                           const vocab::MainProfile &lists);

} // namespace tavrin::storage
