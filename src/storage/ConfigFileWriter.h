#pragma once

#include "ConfigFileReader.h"

#include <QByteArray>
#include <QString>

namespace tavrin::storage {

// Lines 1-23 of a .led file for settings, each ended by CR LF.
QString configurationText(const SavedSettings &settings);
// The whole file as it lands on disk: the text and one closing CR LF, in Windows-1252.
QByteArray configurationBytes(const SavedSettings &settings);

// How a save ended: empty reason when the bytes are all in place; otherwise why not, in the
// system's words ("No space left on device").
struct SaveResult
{
    QString reason;
    bool ok() const { return reason.isEmpty(); }
    explicit operator bool() const { return ok(); }
};

// Writes text and one CR LF in Windows-1252 to path. A regular file (or a new one) is
// replaced atomically, so a failed save leaves an existing file as it was; a device or a
// FIFO is written straight into, never replaced by a file.
SaveResult writeTextFile(const QString &path, const QString &text);
SaveResult writeBytes(const QString &path, const QByteArray &bytes);

} // namespace tavrin::storage
