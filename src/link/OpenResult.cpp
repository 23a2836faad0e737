#include "OpenResult.h"

#include <QCoreApplication>

namespace tavrin::link {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("tavrin::link::OpenResult", text);
}

QString accessHint(const QString &device)
{
#ifdef Q_OS_LINUX
    return tr("you need read and write access to %1; on Linux add your user to the "
              "\"dialout\" group and log in again")
        .arg(device);
#else
    return tr("you need read and write access to %1").arg(device);
#endif
}

} // namespace

QString portFailureEntry(int portNumber, const QString &description)
{
    return QString::number(portNumber) + QLatin1Char('-') + description;
}

QString cannotOpenPortText(int portNumber)
{
    return QStringLiteral("Cannot Open Port:") + QString::number(portNumber)
        + QStringLiteral("\r\nPlease Change Comport");
}

QString openFailureMessage(const OpenResult &result, int portNumber)
{
    return result.error == OpenError::NotFound ? cannotOpenPortText(portNumber) : result.fullText();
}

QString connectionLostText(int portNumber, const QString &reason)
{
    return QStringLiteral("The connection to COM ") + QString::number(portNumber)
        + QStringLiteral(" was lost: ") + reason + u'.';
}

OpenResult noDeviceFailure(int portNumber)
{
    return { OpenError::NotFound, tr("no serial device for COM %1").arg(portNumber) };
}

OpenResult openFailure(QSerialPort::SerialPortError error, const QString &serialText,
                       const QString &device, bool deviceAccessible)
{
    switch (error) {
    case QSerialPort::NoError:
        return { OpenError::Other, serialText };
    case QSerialPort::DeviceNotFoundError:
        return { OpenError::NotFound, serialText };
    case QSerialPort::PermissionError:
        // The serial layer says "Permission error while locking the device" for a port that
        // another program has locked or opened exclusively; the truth is simpler.
        if (deviceAccessible)
            return { OpenError::InUse, tr("in use by another program") };
        return { OpenError::PermissionDenied, serialText, accessHint(device) };
    case QSerialPort::OpenError:
        return { OpenError::AlreadyOpen, serialText };
    default:
        return { OpenError::Other, serialText };
    }
}

} // namespace tavrin::link
