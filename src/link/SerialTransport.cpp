#include "SerialTransport.h"

#include <QFileInfo>

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

SerialTransport::SerialTransport(const QString &device, QObject *parent)
    : LinkTransport(parent)
    , m_device(device)
{
    connect(&m_port, &QSerialPort::readyRead, this, &LinkTransport::readyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialTransport::handleError);
}

SerialTransport::~SerialTransport()
{
    // The port's closing must not call back into a half-destroyed transport.
    m_port.disconnect(this);
}

OpenResult SerialTransport::open()
{
    m_port.setPortName(m_device);
    m_port.setBaudRate(kBaudRate);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.clearError();
    if (!m_port.open(QIODevice::ReadWrite))
        return openFailure(m_port.error(), m_port.errorString(), m_device,
                           deviceAccessible(m_device));
    // Bytes the device took in before this open answer nothing of ours: a reply another
    // program left unread, or the tail of one cut off by the last close.
    m_port.clear(QSerialPort::Input);
    m_losing = false;
    m_errorRun = 0;
    return {};
}

void SerialTransport::close()
{
    if (m_port.isOpen()) {
        // Writes are queued for the event loop; a close straight after one would drop them.
        m_port.flush();
        m_port.close();
    }
}

bool SerialTransport::write(const QByteArray &bytes)
{
    return m_port.isOpen() && m_port.write(bytes) == bytes.size();
}

QByteArray SerialTransport::readAll()
{
    if (!m_port.isOpen() || m_port.bytesAvailable() <= 0)
        return {};
    m_errorRun = 0;
    return m_port.readAll();
}

void SerialTransport::poll()
{
    if (m_port.isOpen())
        m_port.waitForReadyRead(0);
}

void SerialTransport::handleError(QSerialPort::SerialPortError error)
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

void SerialTransport::lose(const QString &reason)
{
    m_losing = true;
    close();
    emit lost(reason);
}

} // namespace tavrin::link
