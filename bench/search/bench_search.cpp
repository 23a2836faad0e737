// Times the start-up port search (open to searchFinished; the update check is the window's)
// with a simulated sign holding bench/data/full.led on COM 12, twice: COM 1 to COM 11 with no
// device at all (TAVRIN_COM<k> empty: the open fails at once), and with a silent simulator
// on each (the port opens and nothing answers, like an unused serial port). The reference is
// the sum of the waits the search itself prescribes for that many probes.
#include "BenchSupport.h"

#include "MainController.h"
#include "PortMap.h"
#include <QEventLoop>
#include <QTimer>

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <vector>

using namespace tavrin;
using core::MainController;
using namespace std::chrono;

namespace {

constexpr int kRuns = 3;
constexpr int kSignPort = link::kLastPortNumber;

// A probe whose port opens keeps it for the close delay; every probe but the last is followed
// by the pause between ports.
duration<double, std::milli> probeWaits(bool portOpens, bool last)
{
    duration<double, std::milli> wait { 0 };
    if (portOpens)
        wait += MainController::kComCloseDelay;
    if (!last)
        wait += MainController::kBetweenPorts;
    return wait;
}

double searchMilliseconds()
{
    MainController controller;
    bool finished = false;
    QEventLoop loop;
    QObject::connect(&controller, &MainController::searchFinished, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    controller.startPortSearch();
    loop.exec();
    const double elapsed = double(clock.nsecsElapsed()) / 1e6;
    if (!finished || controller.state().portIndex != kSignPort - 1
        || controller.state().modelLabel.isEmpty())
        bench::fail(QStringLiteral("the search did not find the sign on COM %1").arg(kSignPort));
    return elapsed;
}

void measure(const QString &otherPorts, bool otherPortsOpen)
{
    QList<double> samples;
    for (int run = 0; run < kRuns; ++run)
        samples << searchMilliseconds();

    duration<double, std::milli> waits = MainController::kSearchPortInterval;
    for (int port = link::kFirstPortNumber; port < kSignPort; ++port)
        waits += probeWaits(otherPortsOpen, false);
    waits += probeWaits(true, true);
    bench::printRow(
        QStringLiteral("start-up search, sign on COM %1, %2").arg(kSignPort).arg(otherPorts),
        bench::median(samples), QStringLiteral("ms"),
        QStringLiteral("the search's own waits for %1 probes").arg(kSignPort), waits.count());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bench::SignSim sign(
        { QStringLiteral("--config"), QString::fromUtf8(TAVRIN_BENCH_FULL_CONFIG) });
    if (sign.device().isEmpty())
        bench::fail(QStringLiteral("the simulated sign did not start"));
    qputenv(qPrintable(QStringLiteral("TAVRIN_COM%1").arg(kSignPort)), sign.device().toLocal8Bit());

    for (int port = link::kFirstPortNumber; port < kSignPort; ++port)
        qputenv(qPrintable(QStringLiteral("TAVRIN_COM%1").arg(port)), QByteArray());
    measure(QStringLiteral("COM 1-11 no device"), false);

    std::vector<std::unique_ptr<bench::SignSim>> silent;
    for (int port = link::kFirstPortNumber; port < kSignPort; ++port) {
        silent.push_back(
            std::make_unique<bench::SignSim>(QStringList { QStringLiteral("--silent") }));
        if (silent.back()->device().isEmpty())
            bench::fail(QStringLiteral("a silent simulator did not start"));
        qputenv(qPrintable(QStringLiteral("TAVRIN_COM%1").arg(port)),
                silent.back()->device().toLocal8Bit());
    }
    measure(QStringLiteral("COM 1-11 silent"), true);
    return 0;
}
