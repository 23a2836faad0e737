#include "SerialLink.h"

#include "PortMap.h"

#include <QFileInfo>
#include <QPointer>

namespace tavrin::link {

namespace {

bool deviceAccessible(const QString &device)
{
#ifdef Q_OS_WIN
    Q_UNUSED(device)
    return true; // Windows denies access to a COM port only while another program holds it
#else
    const QFileInfo info(device);
    return info.isReadable() && info.isWritable();
#endif
}

} // namespace

SerialLink::SerialLink(QObject *parent)
    : QObject(parent)
{
    m_dataTimeout.setInterval(kDataTimeoutInterval);
    m_dataTimeout.setTimerType(Qt::PreciseTimer);
    connect(&m_dataTimeout, &QTimer::timeout, this, &SerialLink::dataTimeoutTick);
    connect(&m_port, &QSerialPort::readyRead, this, &SerialLink::readAvailable);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialLink::handleError);
}

SerialLink::~SerialLink()
{
    // The port outlives the timer; its closing must not call back into a half-destroyed link.
    m_port.disconnect(this);
}

OpenResult SerialLink::open(int portNumber)
{
    if (m_port.isOpen())
        return { OpenError::AlreadyOpen, tr("COM %1 is already open").arg(m_portNumber) };

    m_portNumber = portNumber;
    const QString device = deviceForPort(portNumber);
    if (device.isEmpty())
        return noDeviceFailure(portNumber);

    m_port.setPortName(device);
    m_port.setBaudRate(kBaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.clearError();
    // A fragment from an earlier session must not prefix the first reply of this one.
    m_dataTimeout.stop();
    m_assembler.reset();

    if (!m_port.open(QIODevice::ReadWrite))
        return openFailure(m_port.error(), m_port.errorString(), device, deviceAccessible(device));
    m_losing = false;
    return {};
}

void SerialLink::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool SerialLink::write(const QString &text)
{
    if (!m_port.isOpen())
        return false;
    const QByteArray bytes = text.toLatin1();
    return m_port.write(bytes) == bytes.size();
}

void SerialLink::readAvailable()
{
    const QPointer<SerialLink> self(this);
    // QSerialPort does not emit readyRead again while this slot runs, so bytes that come in
    // while a line handler waits (say, in sleepTicks) are picked up here, after the handler.
    while (m_port.isOpen() && m_port.bytesAvailable() > 0) {
        const QStringList lines = m_assembler.feed(m_port.readAll());
        if (m_assembler.isWaiting())
            m_dataTimeout.start(); // restarted by every burst, as by every character
        else
            m_dataTimeout.stop();
        for (const QString &line : lines) {
            emit lineReceived(line);
            if (!self)
                return;
        }
    }
}

void SerialLink::dataTimeoutTick()
{
    if (!m_assembler.tick())
        m_dataTimeout.stop();
}

void SerialLink::handleError(QSerialPort::SerialPortError error)
{
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    // Left open, the port repeats the error without end; closing may report more errors.
    if (m_losing || !m_port.isOpen())
        return;
    m_losing = true;
    const QString description = m_port.errorString();
    m_port.close();
    emit linkLost(description);
}

} // namespace tavrin::link
