// Times `tavrin-cli read --port 1 -o FILE` as a whole process, from start to exit, against a
// simulated sign that holds bench/data/full.led and answers at 9600 baud. The reference is
// the time the bytes need on the line: "DOWNLOAD_ALL" and "DOWNLOAD_DEFAULT_MSG" with their
// carriage returns one way, the configuration line and the default-message record with their
// line feeds the other.
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

using namespace tavrin;

namespace {

constexpr int kRuns = 7;
const QString kCommand = QStringLiteral("DOWNLOAD_ALL\r");
const QString kDefaultCommand = QStringLiteral("DOWNLOAD_DEFAULT_MSG\r");

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bench::SignSim sign(
        { QStringLiteral("--config"), QString::fromUtf8(TAVRIN_BENCH_FULL_CONFIG) });
    if (sign.device().isEmpty())
        bench::fail(QStringLiteral("the simulated sign did not start"));
    QTemporaryDir work;
    const QString output = work.filePath(QStringLiteral("read.led"));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TAVRIN_COM1"), sign.device());

    QList<double> samples;
    for (int run = 0; run < kRuns; ++run) {
        QFile::remove(output);
        QProcess cli;
        cli.setProcessEnvironment(environment);
        cli.setStandardOutputFile(QProcess::nullDevice());
        cli.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        cli.start(QString::fromUtf8(TAVRIN_BENCH_CLI),
                  { QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("1"),
                    QStringLiteral("-o"), output });
        if (!cli.waitForFinished(30'000))
            bench::fail(QStringLiteral("tavrin-cli read did not finish"));
        samples << double(clock.nsecsElapsed()) / 1e6;
        if (cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0
            || QFileInfo(output).size() == 0)
            bench::fail(QStringLiteral("tavrin-cli read failed (exit %1)").arg(cli.exitCode()));
    }

    const qsizetype bytes = kCommand.size() + bench::fullConfigurationLine().size() + 1
        + kDefaultCommand.size() + bench::fullSignReply(kDefaultCommand.chopped(1)).size() + 1;
    bench::printRow(QStringLiteral("tavrin-cli read, full configuration (whole process)"),
                    bench::median(samples), QStringLiteral("ms"),
                    QStringLiteral("%1 bytes both ways at 9600 baud").arg(bytes),
                    bench::lineMilliseconds(bytes));
    return 0;
}
