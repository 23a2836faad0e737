#pragma once

#include "LineAssembler.h"
#include "LinkTransport.h"
#include "OpenResult.h"

#include <QObject>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

namespace tavrin::link {

// The serial line to one sign: open a port by its list number, write commands without waiting,
// and receive the sign's answer as reply lines. The port's device may be a local serial port
// or a serial device server on the network (PortAddress); the link reads lines the same way.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kDataTimeoutInterval { 10 };

    explicit SerialLink(QObject *parent = nullptr);
    ~SerialLink() override;

    // Opens "COM k" at 9600 8N1 without flow control and drops any unfinished reply line.
    // Fails, leaving the open port alone, while a port is open.
    OpenResult open(int portNumber);
    // Every later open() takes this device, not the one its port maps to, keeping the port
    // number for what it tells: a device can be tried before it is chosen for its port.
    void pinDevice(const QString &device) { m_pinnedDevice = device; }

    // Hands what is still queued to the device, then closes the port and drops any
    // unfinished reply line with it.
    void close();
    bool isOpen() const { return m_transport && m_transport->isOpen(); }
    // False when the last loss came before a network port reached its device server and set
    // up its line: the port could not be opened, only later than a local one would tell.
    bool everConnected() const { return !m_transport || m_transport->everConnected(); }
    // Open, and for a network port connected with its line set up: what is written now goes
    // out now.
    bool isReady() const { return m_transport && m_transport->isReady(); }
    // The number of the last open attempt (0 before any), like a control's port property.
    int portNumber() const { return m_portNumber; }

    // Sends the text as Latin-1 bytes in one piece; never waits for them to leave.
    bool write(const QString &text);

    const QString &replyLine() const { return m_assembler.replyLine(); }
    const QString &lastChunk() const { return m_assembler.lastChunk(); }
    // True while an unfinished line waits for more characters or its idle drop.
    bool isCollecting() const { return m_assembler.isWaiting(); }
    // The same, after taking in whatever the device holds that the event loop has not read
    // yet (a busy machine may be late to it); lines completed by that are delivered first.
    bool lineArriving();

signals:
    // A reply line without its line feed, untrimmed. Lines arrive in order: a line that
    // completes while a handler is still running waits for it to return.
    void lineReceived(const QString &line);
    // The device vanished or keeps failing to read; the port is already closed. Emitted once,
    // with a reason in our own words.
    void linkLost(const QString &description);

private:
    void readAvailable();
    void dataTimeoutTick();
    void lose(const QString &reason);

    std::unique_ptr<LinkTransport> m_transport; // the last port's, kept until the next open
    QTimer m_dataTimeout;
    LineAssembler m_assembler;
    int m_portNumber = 0;
    std::optional<QString> m_pinnedDevice;
};

} // namespace tavrin::link
