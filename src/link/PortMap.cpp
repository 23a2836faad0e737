#include "PortMap.h"

#include "PortAddress.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QSerialPortInfo>
#include <QSettings>

#include <algorithm>

namespace tavrin::link {

namespace {

bool isUsb(const PortDescription &port)
{
    return port.hasUsbVendor || port.portName.startsWith(QLatin1String("ttyUSB"))
        || port.portName.startsWith(QLatin1String("ttyACM"));
}

QList<PortDescription> systemPorts()
{
    QList<PortDescription> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : infos)
        ports.append({ info.portName(), info.systemLocation(), info.hasVendorIdentifier() });
    return ports;
}

// Asking the system for its ports takes tens of milliseconds; a search asks for twelve at once
// and the port list's tool tips for twelve more on every refresh, so one answer serves for a
// moment. An adapter plugged in is seen on the next question after that.
constexpr qint64 kPortListLifetimeMs = 2000;

QList<PortDescription> orderedSystemPorts();

QByteArray environmentVariable(int portNumber)
{
    return "TAVRIN_COM" + QByteArray::number(portNumber);
}

QString settingsKey(int portNumber)
{
    return QStringLiteral("Ports/COM%1").arg(portNumber);
}

// The window's and the command line's settings alike.
QSettings portSettings()
{
    return QSettings(QStringLiteral("Tavrin"), QStringLiteral("Tavrin"));
}

} // namespace

QList<PortDescription> orderPorts(QList<PortDescription> ports)
{
    // The C locale ignores numeric mode; device names are plain ASCII, so English is neutral.
    QCollator collator { QLocale(QLocale::English) };
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    std::stable_sort(ports.begin(), ports.end(),
                     [&collator](const PortDescription &a, const PortDescription &b) {
                         const bool usbA = isUsb(a);
                         const bool usbB = isUsb(b);
                         if (usbA != usbB)
                             return usbA;
                         return collator.compare(a.portName, b.portName) < 0;
                     });
    return ports;
}

namespace {

QList<PortDescription> orderedSystemPorts()
{
    static QList<PortDescription> ports;
    static QElapsedTimer age;
    if (!age.isValid() || age.elapsed() > kPortListLifetimeMs) {
        ports = orderPorts(systemPorts());
        age.start();
    }
    return ports;
}

} // namespace

QString deviceForPort(int portNumber)
{
    if (portNumber < kFirstPortNumber || portNumber > kLastPortNumber)
        return {};
    if (environmentDecides(portNumber))
        return qEnvironmentVariable(environmentVariable(portNumber).constData());
    if (const QString chosen = chosenDevice(portNumber); !chosen.isEmpty())
        return chosen;
    return systemDevice(portNumber);
}

QString systemDevice(int portNumber)
{
    if (portNumber < kFirstPortNumber || portNumber > kLastPortNumber)
        return {};
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    const QList<PortDescription> ports = orderedSystemPorts();
    if (portNumber > ports.size())
        return {};
    return ports.at(portNumber - 1).systemLocation;
#endif
}

QString chosenDevice(int portNumber)
{
    return portSettings().value(settingsKey(portNumber)).toString().trimmed();
}

void setChosenDevice(int portNumber, const QString &device)
{
    QSettings settings = portSettings();
    if (device.trimmed().isEmpty())
        settings.remove(settingsKey(portNumber));
    else
        settings.setValue(settingsKey(portNumber), device.trimmed());
}

bool environmentDecides(int portNumber)
{
    return qEnvironmentVariableIsSet(environmentVariable(portNumber).constData());
}

QString portToolTip(int portNumber)
{
    const QString device = deviceForPort(portNumber);
    if (device.isEmpty())
        return QStringLiteral("no device");
    const PortAddress address = PortAddress::parse(device);
    if (address.kind == PortAddress::Kind::RawTcp)
        return device + QStringLiteral(" (device server, raw TCP)");
    if (address.kind == PortAddress::Kind::Rfc2217)
        return device + QStringLiteral(" (device server, RFC 2217)");
    return device;
}

} // namespace tavrin::link
