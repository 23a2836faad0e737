#pragma once

#include "NetworkLine.h"
#include "PortAddress.h"
#include "Rfc2217Codec.h"

#include <QTcpSocket>
#include <QTimer>

#include <chrono>

namespace tavrin::link::network {

// A serial device server on the network: raw TCP ("socket://"), whose bytes are the line's.
// It connects in the background; a connection that is not made within kConnectTimeout, or
// that fails or breaks, is lost with the address and what went wrong.
class TcpLine : public QObject, public NetworkLine
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kConnectTimeout { 3000 };

    TcpLine(const PortAddress &address, Events events);
    ~TcpLine() override;

    void open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    void poll() override;
    bool everConnected() const override { return m_connected; }
    bool isReady() const override { return m_open && m_ready; }

protected:
    // What the line's bytes look like on the wire, and back.
    virtual QByteArray decode(const QByteArray &received) { return received; }
    virtual QByteArray encode(const QByteArray &payload) { return payload; }
    // The connection is made; the line may still need setting up before its bytes go.
    virtual void connectionMade();
    // Bytes for the line go out from here on; until then they wait.
    void lineReady();
    void sendRaw(const QByteArray &bytes);
    void lose(const QString &reason);
    const PortAddress &address() const { return m_address; }

private:
    void takeIn();
    void handleError(QAbstractSocket::SocketError error);

    const PortAddress m_address;
    const Events m_events;
    QTcpSocket m_socket;
    QTimer m_connectTimer;
    QByteArray m_received; // the line's bytes not yet read
    QByteArray m_waiting; // the line's bytes written before it was ready
    bool m_open = false;
    bool m_connected = false; // the line was set up once: the port did open
    bool m_ready = false;
};

// A device server speaking RFC 2217: the com-port option is negotiated and the remote line
// set to 9600 8N1 before the line's bytes go out. A server that refuses the option, or does
// not confirm a setting within kSettingsTimeout, is lost naming what it did not accept.
class Rfc2217Line : public TcpLine
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kSettingsTimeout { 3000 };

    Rfc2217Line(const PortAddress &address, Events events);

    void close() override;

protected:
    QByteArray decode(const QByteArray &received) override;
    QByteArray encode(const QByteArray &payload) override;
    void connectionMade() override;

private:
    void checkNegotiation(bool timedOut);

    Rfc2217Codec m_codec;
    QTimer m_settingsTimer;
    bool m_settled = false;
};

} // namespace tavrin::link::network
