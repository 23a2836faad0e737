#pragma once

#include "LineAssembler.h"
#include "OpenResult.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSerialPort>
#include <QTimer>

#include <chrono>

namespace tavrin::link {

// The serial line to one sign: open a port by its list number, write commands without waiting,
// and receive the sign's answer as reply lines.
class SerialLink : public QObject
{
    Q_OBJECT

public:
    static constexpr qint32 kBaudRate = 9600;
    static constexpr std::chrono::milliseconds kDataTimeoutInterval { 10 };
    // A read error on a device that is still there is usually a read that found the bytes
    // gone (another program on the same device took them). Only a run of this many errors
    // with no byte read in between, within kErrorRunWindow, means the device is failing.
    static constexpr int kErrorRunLength = 20;
    static constexpr std::chrono::milliseconds kErrorRunWindow { 1000 };

    explicit SerialLink(QObject *parent = nullptr);
    ~SerialLink() override;

    // Opens "COM k" at 9600 8N1 without flow control and drops any unfinished reply line.
    // Fails, leaving the open port alone, while a port is open.
    OpenResult open(int portNumber);
    // Hands what is still queued to the device, then closes the port and drops any
    // unfinished reply line with it.
    void close();
    bool isOpen() const { return m_port.isOpen(); }
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
    void handleError(QSerialPort::SerialPortError error);
    void lose(const QString &reason);

    QSerialPort m_port;
    QTimer m_dataTimeout;
    LineAssembler m_assembler;
    QString m_device;
    int m_portNumber = 0;
    bool m_losing = false;
    int m_errorRun = 0; // read errors since the last byte read
    QElapsedTimer m_errorRunClock;
};

} // namespace tavrin::link
