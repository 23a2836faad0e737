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

    m_device = device;
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
    // Bytes the device took in before this open answer nothing of ours: a reply another
    // program left unread, or the tail of one cut off by the last close.
    m_port.clear(QSerialPort::Input);
    m_losing = false;
    m_errorRun = 0;
    return {};
}

void SerialLink::close()
{
    if (m_port.isOpen()) {
        // Writes are queued for the event loop; a close straight after one would drop them.
        m_port.flush();
        m_port.close();
    }
    // A line cut off by the close must never prefix the first reply after the next open.
    m_dataTimeout.stop();
    m_assembler.reset();
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
    // while a line handler runs are picked up here, after the handler.
    while (m_port.isOpen() && m_port.bytesAvailable() > 0) {
        m_errorRun = 0;
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

bool SerialLink::lineArriving()
{
    if (m_port.isOpen())
        m_port.waitForReadyRead(0);
    return isOpen() && isCollecting();
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
    // Closing may report more errors, and a loss is reported once.
    if (m_losing || !m_port.isOpen())
        return;
    // The serial layer's own text here often carries a stale system error; say what we know.
    if (error == QSerialPort::ResourceError || !QFileInfo::exists(m_device)) {
        lose(tr("the device %1 is no longer there").arg(m_device));
        return;
    }
    if (m_errorRun == 0 || m_errorRunClock.hasExpired(kErrorRunWindow.count())) {
        m_errorRun = 0;
        m_errorRunClock.start();
    }
    if (++m_errorRun < kErrorRunLength) {
        m_port.clearError();
        return;
    }
    lose(tr("the device %1 keeps failing to read").arg(m_device));
}

void SerialLink::lose(const QString &reason)
{
    m_losing = true;
    close();
    emit linkLost(reason);
}

} // namespace tavrin::link
