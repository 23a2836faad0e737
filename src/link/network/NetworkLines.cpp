#include "NetworkLines.h"

#include <QHostAddress>

namespace tavrin::link::network {

TcpLine::TcpLine(const PortAddress &address, Events events)
    : m_address(address)
    , m_events(std::move(events))
{
    m_connectTimer.setSingleShot(true);
    m_connectTimer.setInterval(kConnectTimeout);
    connect(&m_connectTimer, &QTimer::timeout, this, [this] {
        lose(tr("%1 did not accept a connection within %2 s")
                 .arg(m_address.endpoint())
                 .arg(kConnectTimeout.count() / 1000));
    });
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_connectTimer.stop();
        connectionMade();
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, &TcpLine::takeIn);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &TcpLine::handleError);
}

TcpLine::~TcpLine()
{
    m_socket.disconnect(this);
}

void TcpLine::open()
{
    m_received.clear();
    m_waiting.clear();
    m_connected = false;
    m_ready = false;
    m_open = true;
    if (m_socket.state() != QAbstractSocket::UnconnectedState)
        m_socket.abort(); // the last connection may still be closing
    m_socket.connectToHost(m_address.host, m_address.port);
    m_connectTimer.start();
}

void TcpLine::close()
{
    m_connectTimer.stop();
    if (!m_open)
        return;
    m_open = false; // what the socket says from here on is no loss
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        m_socket.disconnectFromHost(); // after what is queued has gone
    else
        m_socket.abort();
}

bool TcpLine::write(const QByteArray &bytes)
{
    if (!m_open)
        return false;
    if (!m_ready) {
        m_waiting += bytes;
        return true;
    }
    sendRaw(encode(bytes));
    return true;
}

QByteArray TcpLine::readAll()
{
    return std::exchange(m_received, {});
}

void TcpLine::poll()
{
    if (m_open && m_socket.state() == QAbstractSocket::ConnectedState)
        m_socket.waitForReadyRead(0);
}

void TcpLine::connectionMade()
{
    lineReady();
}

void TcpLine::lineReady()
{
    m_ready = true;
    m_connected = true;
    if (!m_waiting.isEmpty())
        sendRaw(encode(std::exchange(m_waiting, {})));
}

void TcpLine::sendRaw(const QByteArray &bytes)
{
    if (!bytes.isEmpty())
        m_socket.write(bytes);
}

void TcpLine::takeIn()
{
    const QByteArray payload = decode(m_socket.readAll());
    if (!m_open)
        return; // the decoding found the line lost
    if (payload.isEmpty())
        return;
    m_received += payload;
    m_events.readyRead();
}

void TcpLine::handleError(QAbstractSocket::SocketError error)
{
    if (!m_open)
        return;
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
        lose(tr("the host %1 was not found").arg(m_address.host));
        break;
    case QAbstractSocket::ConnectionRefusedError:
        lose(tr("%1 refused the connection").arg(m_address.endpoint()));
        break;
    case QAbstractSocket::RemoteHostClosedError:
        lose(tr("the device server at %1 closed the connection").arg(m_address.endpoint()));
        break;
    default:
        lose(tr("the connection to %1 failed: %2")
                 .arg(m_address.endpoint(), m_socket.errorString()));
        break;
    }
}

void TcpLine::lose(const QString &reason)
{
    if (!m_open)
        return;
    close();
    m_events.lost(reason);
}

Rfc2217Line::Rfc2217Line(const PortAddress &address, Events events)
    : TcpLine(address, std::move(events))
{
    m_settingsTimer.setSingleShot(true);
    m_settingsTimer.setInterval(kSettingsTimeout);
    connect(&m_settingsTimer, &QTimer::timeout, this, [this] { checkNegotiation(true); });
}

void Rfc2217Line::close()
{
    m_settingsTimer.stop();
    TcpLine::close();
}

void Rfc2217Line::connectionMade()
{
    m_codec = Rfc2217Codec();
    m_settled = false;
    sendRaw(m_codec.takeOutgoing());
    m_settingsTimer.start();
}

QByteArray Rfc2217Line::decode(const QByteArray &received)
{
    const QByteArray payload = m_codec.decode(received);
    sendRaw(m_codec.takeOutgoing());
    if (!m_settled)
        checkNegotiation(false);
    return payload;
}

QByteArray Rfc2217Line::encode(const QByteArray &payload)
{
    return m_codec.encode(payload);
}

void Rfc2217Line::checkNegotiation(bool timedOut)
{
    using Negotiation = Rfc2217Codec::Negotiation;
    const Negotiation negotiation = m_codec.comPortNegotiation();
    if (negotiation == Negotiation::Refused) {
        m_settingsTimer.stop();
        lose(tr("the device server at %1 refused to set the serial line (RFC 2217)")
                 .arg(address().endpoint()));
        return;
    }
    const auto refused = m_codec.refusedSettings();
    const auto unanswered = m_codec.unansweredSettings();
    const auto names = [](const QList<Rfc2217Codec::LineSetting> &settings) {
        static const char *const kNames[]
            = { "baud rate 9600", "8 data bits", "no parity", "one stop bit" };
        QStringList named;
        for (const auto setting : settings)
            named << QLatin1String(kNames[int(setting)]);
        return named.join(QLatin1String(", "));
    };
    if (!refused.isEmpty()) {
        m_settingsTimer.stop();
        lose(tr("the device server at %1 did not accept the line settings: %2")
                 .arg(address().endpoint(), names(refused)));
        return;
    }
    if (negotiation == Negotiation::Agreed && unanswered.isEmpty()) {
        m_settingsTimer.stop();
        m_settled = true;
        lineReady();
        return;
    }
    if (!timedOut)
        return;
    lose(negotiation == Negotiation::Waiting
             ? tr("the device server at %1 did not answer the request to set the serial line")
                   .arg(address().endpoint())
             : tr("the device server at %1 did not confirm the line settings: %2")
                   .arg(address().endpoint(), names(unanswered)));
}

} // namespace tavrin::link::network
