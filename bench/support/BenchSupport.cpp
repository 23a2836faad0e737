#include "BenchSupport.h"

#include "SavedConfiguration.h"
#include "SignInterpreter.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace tavrin::bench {

double median(QList<double> samples)
{
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const qsizetype middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

double medianMicroseconds(const std::function<void()> &run, std::chrono::milliseconds budget,
                          int minRuns)
{
    QList<double> samples;
    QElapsedTimer total;
    total.start();
    while (samples.size() < minRuns || !total.hasExpired(budget.count())) {
        QElapsedTimer one;
        one.start();
        run();
        samples << double(one.nsecsElapsed()) / 1000.0;
    }
    return median(samples);
}

void printRow(const QString &measure, double figure, const QString &unit, const QString &reference,
              double referenceFigure)
{
    // Tab-separated for scripts/bench; the measure names hold no tabs.
    std::printf("ROW\t%s\t%.6g\t%s\t%s\t%.6g\n", qPrintable(measure), figure, qPrintable(unit),
                qPrintable(reference), referenceFigure);
    std::fflush(stdout);
}

QString fullConfigurationLine()
{
    return fullSignReply(QStringLiteral("DOWNLOAD_ALL"));
}

QString fullSignReply(const QString &command)
{
    QString error;
    const auto saved
        = signsim::readSavedConfiguration(QString::fromUtf8(TAVRIN_BENCH_FULL_CONFIG), &error);
    if (!saved)
        fail(error);
    // As tavrin-signsim --config builds its sign: the file's model, the default build.
    signsim::SignInterpreter sign(saved->model);
    for (const QString &command : saved->commands)
        sign.handle(command);
    return sign.handle(command).value(0);
}

SignSim::SignSim(const QStringList &arguments)
    : m_process(std::make_unique<QProcess>())
{
    m_process->setProgram(QString::fromUtf8(TAVRIN_BENCH_SIGNSIM));
    m_process->setArguments(arguments);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->setStandardErrorFile(QProcess::nullDevice());
    m_process->start();
    if (!m_process->waitForStarted())
        return;
    while (!m_process->canReadLine() && m_process->waitForReadyRead(5000)) { }
    m_device = QString::fromLocal8Bit(m_process->readLine()).trimmed();
}

SignSim::~SignSim()
{
    m_process->terminate();
    if (!m_process->waitForFinished(3000))
        m_process->kill();
    m_process->waitForFinished();
}

void fail(const QString &message)
{
    std::fprintf(stderr, "bench: %s\n", qPrintable(message));
    std::exit(1);
}

} // namespace tavrin::bench
