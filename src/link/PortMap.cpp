#include "PortMap.h"

#include <QCollator>
#include <QElapsedTimer>
#include <QSerialPortInfo>

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
    const QByteArray variable = "TAVRIN_COM" + QByteArray::number(portNumber);
    if (qEnvironmentVariableIsSet(variable.constData()))
        return qEnvironmentVariable(variable.constData());
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(portNumber);
#else
    const QList<PortDescription> ports = orderedSystemPorts();
    if (portNumber > ports.size())
        return {};
    return ports.at(portNumber - 1).systemLocation;
#endif
}

QString portToolTip(int portNumber)
{
    const QString device = deviceForPort(portNumber);
    return device.isEmpty() ? QStringLiteral("no device") : device;
}

} // namespace tavrin::link
