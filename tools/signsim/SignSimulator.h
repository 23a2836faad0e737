#pragma once

#include "CommandFramer.h"
#include "LogFormat.h"
#include "Misbehaviour.h"
#include "SignInterpreter.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <optional>

namespace tavrin::signsim {

class PtyPort;

struct SimulatorOptions
{
    QString model = QStringLiteral("KR4410");
    QString build = QStringLiteral("5");
    bool paced = true;
    bool crlf = false;
    bool silent = false;
    bool stream = false; // never ends a line: replies lose their line feed, filler follows
    std::optional<SignState> state; // what the sign holds at start, the factory's if none
    Misbehaviour misbehaviour;
};

// A sign on the line: frames what the port receives, answers through the interpreter, and
// sends the replies at the pace of a 9600 baud line while a client has the port open.
class SignSimulator : public QObject
{
    Q_OBJECT

public:
    SignSimulator(PtyPort &port, SimulatorOptions options, QObject *parent = nullptr);

private:
    void receive(const QByteArray &bytes);
    void queueReply(const QByteArray &line);
    void sendDue();
    void dropIncompleteCommand();
    // Replies still queued are lost: the client that asked closed (closed), or another opened.
    void dropUndelivered(bool closed);
    void log(LogTag tag, QByteArrayView payload);
    void note(const QString &text);

    static constexpr int kPowerFailureStatus = 3;
    static constexpr qint64 kCharactersPerSecond = 960; // 9600 baud, 10 bits a character
    static constexpr std::chrono::milliseconds kPaceTick { 10 };
    static constexpr qsizetype kStreamFill = 64; // filler bytes queued at a time
    // A sign forgets a half-received command after a pause, so stray bytes do not spoil the
    // next command for good.
    static constexpr std::chrono::seconds kIncompleteCommandTimeout { 5 };

    PtyPort &m_port;
    SimulatorOptions m_options;
    CommandFramer m_framer;
    SignInterpreter m_interpreter;
    QByteArray m_outgoing;
    QTimer m_paceTimer;
    QElapsedTimer m_paceClock;
    qint64 m_pacedBytes = 0;
    QTimer m_incompleteTimer;
};

} // namespace tavrin::signsim
