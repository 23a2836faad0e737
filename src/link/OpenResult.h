#pragma once

#include <QSerialPort>
#include <QString>

#include <utility>

namespace tavrin::link {

enum class OpenError {
    None,
    NotFound, // no such port or no device: the old "invalid port number"
    PermissionDenied,
    InUse,
    AlreadyOpen, // this link already holds a port
    Other,
};

// Outcome of SerialLink::open(); description is what the user is shown.
struct OpenResult
{
    OpenResult() = default;
    OpenResult(OpenError kind, QString text, QString advice = {})
        : error(kind)
        , description(std::move(text))
        , hint(std::move(advice))
    {
    }

    OpenError error = OpenError::None;
    QString description; // short enough for the port list's entry
    QString hint; // what the user can do about it, when we know

    // The description with its hint, for tool tips and boxes.
    QString fullText() const
    {
        return hint.isEmpty() ? description : description + QStringLiteral(" - ") + hint;
    }

    bool ok() const { return error == OpenError::None; }
    explicit operator bool() const { return ok(); }
};

// The port list's entry for a port that failed to open: "3-in use by another program".
QString portFailureEntry(int portNumber, const QString &description);

// The box a message window shows for a port it cannot open: "Cannot Open Port:7" and
// "Please Change Comport" for a port with no device, else the failure with its hint.
QString cannotOpenPortText(int portNumber);
QString openFailureMessage(const OpenResult &result, int portNumber);

// What every window tells when the line to a sign is lost: "The connection to COM 3 was lost: ...".
QString connectionLostText(int portNumber, const QString &reason);

// "COM k" maps to no device at all.
OpenResult noDeviceFailure(int portNumber);

// Sorts the serial layer's open error into a kind. A permission error on a device we may read
// and write means another program holds it; otherwise the text gains a hint on how to get access.
OpenResult openFailure(QSerialPort::SerialPortError error, const QString &serialText,
                       const QString &device, bool deviceAccessible);

} // namespace tavrin::link
