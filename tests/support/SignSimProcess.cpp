#include "SignSimProcess.h"

#include "LogFormat.h"
#include "SignState.h"

#include <QFile>
#include <QTest>

namespace {

constexpr int kStartTimeoutMs = 5000;
constexpr int kStopTimeoutMs = 3000;
constexpr int kPortCount = 12;

} // namespace

SignSimProcess::SignSimProcess(QStringList arguments, QObject *parent)
    : QObject(parent)
    , m_arguments(std::move(arguments))
{
    connect(&m_process, &QProcess::readyReadStandardError, this, &SignSimProcess::readLog);
}

SignSimProcess::~SignSimProcess()
{
    stop();
}

bool SignSimProcess::startOnPort(int portNumber)
{
    if (!start())
        return false;
    qputenv(qPrintable(QStringLiteral("TAVRIN_COM%1").arg(portNumber)), m_devicePath.toLocal8Bit());
    return true;
}

bool SignSimProcess::start()
{
    m_process.start(qEnvironmentVariable("TAVRIN_SIGNSIM"), m_arguments);
    const bool ready = waitUntil([this] { return m_process.canReadLine(); }, kStartTimeoutMs);
    if (!ready) {
        stop();
        qWarning("tavrin-signsim did not start: %s %s", qPrintable(m_process.errorString()),
                 qPrintable(m_diagnostics.join(u' ')));
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    return !m_devicePath.isEmpty();
}

bool SignSimProcess::waitForCommands(int count, int timeoutMs)
{
    return waitUntil([this, count] { return m_commands.size() >= count; }, timeoutMs);
}

void SignSimProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate(); // the simulator removes its link on SIGTERM
    if (!m_process.waitForFinished(kStopTimeoutMs)) {
        m_process.kill();
        m_process.waitForFinished(kStopTimeoutMs);
    }
    readLog();
}

void SignSimProcess::readLog()
{
    m_logTail += m_process.readAllStandardError();
    qsizetype end;
    while ((end = m_logTail.indexOf('\n')) >= 0) {
        const QString line = QString::fromLatin1(m_logTail.left(end));
        m_logTail.remove(0, end + 1);
        if (const auto command = tavrin::signsim::parseReceivedLogLine(line)) {
            m_commands.append(QString::fromLatin1(*command));
            if (m_commands.size() == m_killAt)
                m_process.kill();
        } else if (line.startsWith(QLatin1String("tavrin-signsim:")))
            m_diagnostics.append(line);
    }
}

bool SignSimProcess::waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    return QTest::qWaitFor([&] { return done() || m_process.state() == QProcess::NotRunning; },
                           timeoutMs)
        && done();
}

void isolateSerialPorts()
{
    for (int k = 1; k <= kPortCount; ++k) {
        qputenv(QByteArray("TAVRIN_COM") + QByteArray::number(k),
                QByteArray("/nonexistent/tavrin-no-port-") + QByteArray::number(k));
    }
}
