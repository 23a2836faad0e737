#include "SignSimulator.h"

#include "PtyPort.h"

#include <cstdio>
#include <unistd.h>

namespace tavrin::signsim {

SignSimulator::SignSimulator(PtyPort &port, SimulatorOptions options, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_options(std::move(options))
    , m_interpreter(m_options.model, m_options.build)
{
    if (m_options.state)
        m_interpreter.setState(*m_options.state);
    m_paceTimer.setInterval(kPaceTick);
    m_incompleteTimer.setSingleShot(true);
    m_incompleteTimer.setInterval(kIncompleteCommandTimeout);
    connect(&m_paceTimer, &QTimer::timeout, this, &SignSimulator::sendDue);
    connect(&m_incompleteTimer, &QTimer::timeout, this, &SignSimulator::dropIncompleteCommand);
    connect(&m_port, &PtyPort::received, this, &SignSimulator::receive);
    connect(&m_port, &PtyPort::note, this, &SignSimulator::note);
    connect(&m_port, &PtyPort::clientOpened, this, [this] {
        dropUndelivered(false);
        note(QStringLiteral("port opened"));
    });
    connect(&m_port, &PtyPort::clientClosed, this, [this] { dropUndelivered(true); });
}

void SignSimulator::receive(const QByteArray &bytes)
{
    const QList<QByteArray> commands = m_framer.feed(bytes);
    if (m_framer.pending().isEmpty())
        m_incompleteTimer.stop();
    else
        m_incompleteTimer.start();

    for (const QByteArray &command : commands) {
        log(LogTag::Received, command);
        const QByteArray text = command.endsWith('\r') ? command.chopped(1) : command;
        const Misbehaviour::Outcome outcome = m_options.misbehaviour.handle(m_interpreter, text);
        for (const QString &line : outcome.notes)
            note(line);
        if (outcome.powerFails) {
            // Every descriptor goes at once, as when the process is killed: the client sees
            // the device vanish, with whatever was still queued lost.
            std::fflush(stderr);
            ::_exit(kPowerFailureStatus);
        }
        if (m_options.silent)
            continue;
        for (const QByteArray &reply : outcome.replies)
            queueReply(reply);
    }
}

void SignSimulator::queueReply(const QByteArray &line)
{
    const QByteArray end = m_options.stream ? "" : m_options.crlf ? "\r\n" : "\n";
    const QByteArray bytes = line + end;
    m_port.updatePresence();
    if (!m_port.clientPresent()) {
        note(QStringLiteral("port closed, reply lost: ") + escapeLogPayload(bytes));
        return;
    }
    log(LogTag::Sent, bytes);
    if (m_outgoing.isEmpty()) {
        m_paceClock.start();
        m_pacedBytes = 0;
    }
    m_outgoing += bytes;
    if (!m_paceTimer.isActive())
        m_paceTimer.start();
    if (!m_options.paced)
        sendDue();
}

void SignSimulator::sendDue()
{
    m_port.updatePresence(); // a close drops the queue
    qsizetype count = m_outgoing.size();
    if (m_options.paced) {
        const qint64 due = m_paceClock.elapsed() * kCharactersPerSecond / 1000 - m_pacedBytes;
        count = qMin(count, qsizetype(due));
    }
    if (count > 0) {
        const qsizetype written = m_port.write(QByteArrayView(m_outgoing).first(count));
        m_outgoing.remove(0, written);
        m_pacedBytes += written;
    }
    // A streaming sign goes on sending for as long as the client keeps the port open.
    if (m_options.stream && m_port.clientPresent() && m_outgoing.size() < kStreamFill)
        m_outgoing += QByteArray(kStreamFill, '~');
    if (m_outgoing.isEmpty())
        m_paceTimer.stop();
}

void SignSimulator::dropIncompleteCommand()
{
    note(QStringLiteral("incomplete command dropped: ") + escapeLogPayload(m_framer.pending()));
    m_framer.clear();
}

void SignSimulator::dropUndelivered(bool closed)
{
    if (!m_outgoing.isEmpty())
        note(QStringLiteral("%1, %2 reply bytes lost")
                 .arg(closed ? QStringLiteral("port closed") : QStringLiteral("port opened anew"))
                 .arg(m_outgoing.size()));
    else if (closed)
        note(QStringLiteral("port closed"));
    m_outgoing.clear();
    m_paceTimer.stop();
}

void SignSimulator::log(LogTag tag, QByteArrayView payload)
{
    const QByteArray line = formatLogLine(QTime::currentTime(), tag, payload);
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

void SignSimulator::note(const QString &text)
{
    const QByteArray line = formatLogNote(QTime::currentTime(), text);
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

} // namespace tavrin::signsim
