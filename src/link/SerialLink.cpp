#include "SerialLink.h"

#include "NetworkTransport.h"
#include "PortAddress.h"
#include "PortMap.h"
#include "SerialTransport.h"

#include <QPointer>

namespace tavrin::link {

namespace {

std::unique_ptr<LinkTransport> transportFor(const PortAddress &address)
{
    switch (address.kind) {
    case PortAddress::Kind::RawTcp:
    case PortAddress::Kind::Rfc2217:
        return std::make_unique<NetworkTransport>(address);
    default:
        return std::make_unique<SerialTransport>(address.device);
    }
}

} // namespace

SerialLink::SerialLink(QObject *parent)
    : QObject(parent)
{
    m_dataTimeout.setInterval(kDataTimeoutInterval);
    m_dataTimeout.setTimerType(Qt::PreciseTimer);
    connect(&m_dataTimeout, &QTimer::timeout, this, &SerialLink::dataTimeoutTick);
}

SerialLink::~SerialLink()
{
    // The transport's closing must not call back into a half-destroyed link.
    if (m_transport)
        m_transport->disconnect(this);
}

OpenResult SerialLink::open(int portNumber)
{
    if (isOpen())
        return { OpenError::AlreadyOpen, tr("COM %1 is already open").arg(m_portNumber) };

    m_portNumber = portNumber;
    const QString device = m_pinnedDevice ? *m_pinnedDevice : deviceForPort(portNumber);
    if (device.isEmpty())
        return noDeviceFailure(portNumber);
    const PortAddress address = PortAddress::parse(device);
    if (address.kind == PortAddress::Kind::Invalid)
        return { OpenError::NotFound, address.problem };

    // The last transport may be the one whose loss is being told right now.
    if (m_transport) {
        m_transport->disconnect(this);
        m_transport.release()->deleteLater();
    }
    m_transport = transportFor(address);
    connect(m_transport.get(), &LinkTransport::readyRead, this, &SerialLink::readAvailable);
    connect(m_transport.get(), &LinkTransport::lost, this, &SerialLink::lose);
    // A fragment from an earlier session must not prefix the first reply of this one.
    m_dataTimeout.stop();
    m_assembler.reset();
    return m_transport->open();
}

void SerialLink::close()
{
    if (m_transport)
        m_transport->close();
    // A line cut off by the close must never prefix the first reply after the next open.
    m_dataTimeout.stop();
    m_assembler.reset();
}

bool SerialLink::write(const QString &text)
{
    return isOpen() && m_transport->write(text.toLatin1());
}

void SerialLink::readAvailable()
{
    const QPointer<SerialLink> self(this);
    // Bytes that come in while a line handler runs are picked up here, after the handler.
    for (QByteArray bytes = m_transport->readAll(); !bytes.isEmpty();
         bytes = isOpen() ? m_transport->readAll() : QByteArray()) {
        const QStringList lines = m_assembler.feed(bytes);
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
    if (isOpen())
        m_transport->poll();
    return isOpen() && isCollecting();
}

void SerialLink::dataTimeoutTick()
{
    if (!m_assembler.tick())
        m_dataTimeout.stop();
}

void SerialLink::lose(const QString &reason)
{
    // The transport has closed itself.
    m_dataTimeout.stop();
    m_assembler.reset();
    emit linkLost(reason);
}

} // namespace tavrin::link
