// Times the start-up port search (open to searchFinished; the update check is the window's),
// which probes every port at once: a simulated sign holding bench/data/full.led on COM 1 or
// on COM 12 with silent simulators on every other port (each opens and never answers, like
// an unused serial port), and twelve silent ports with no sign. The reference is the search's
// start delay plus what cannot be cut: the probe and the whole reply on the wire at 9600 baud,
// or, with no sign, the bounded wait of a silent port.
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

constexpr int kRuns = 5;
constexpr double kMillisecondsPerCharacter = 10.0 * 1000.0 / 9600.0; // 8N1 at 9600 baud

struct Search
{
    double milliseconds = 0;
    int foundPort = 0; // 0: none
    qsizetype replyCharacters = 0;
};

Search runSearch()
{
    MainController controller;
    Search search;
    bool finished = false;
    QEventLoop loop;
    QObject::connect(&controller, &MainController::replyInterpreted,
                     [&](const QString &line) { search.replyCharacters += line.size() + 1; });
    QObject::connect(&controller, &MainController::searchFinished, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(60'000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    controller.startPortSearch();
    loop.exec();
    search.milliseconds = double(clock.nsecsElapsed()) / 1e6;
    if (!finished)
        bench::fail(QStringLiteral("the search did not end"));
    if (!controller.state().modelLabel.isEmpty())
        search.foundPort = controller.state().portIndex + 1;
    return search;
}

void measure(const QString &what, int signPort)
{
    QList<double> samples;
    qsizetype reply = 0;
    for (int run = 0; run < kRuns; ++run) {
        const Search search = runSearch();
        if (search.foundPort != signPort)
            bench::fail(
                QStringLiteral("%1: the search found COM %2").arg(what).arg(search.foundPort));
        samples << search.milliseconds;
        reply = search.replyCharacters;
    }
    duration<double, std::milli> limit = MainController::kSearchPortInterval;
    QString reference;
    if (signPort > 0) {
        const qsizetype probe = QStringLiteral("DOWNLOAD_ALL\r").size();
        limit += duration<double, std::milli>(double(probe + reply) * kMillisecondsPerCharacter);
        reference
            = QStringLiteral("start delay + probe and %1-character reply on the wire").arg(reply);
    } else {
        limit += MainController::kComCloseDelay;
        reference = QStringLiteral("start delay + a silent port's bounded wait");
    }
    bench::printRow(QStringLiteral("start-up search, %1").arg(what), bench::median(samples),
                    QStringLiteral("ms"), reference, limit.count());
}

// COM 1 to COM 12: the sign on signPort (0: none), a silent simulator on every other one.
void placeSign(const bench::SignSim &sign, int signPort,
               const std::vector<std::unique_ptr<bench::SignSim>> &silent)
{
    for (int port = link::kFirstPortNumber; port <= link::kLastPortNumber; ++port) {
        const QString device
            = port == signPort ? sign.device() : silent.at(size_t(port - 1))->device();
        qputenv(qPrintable(QStringLiteral("TAVRIN_COM%1").arg(port)), device.toLocal8Bit());
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bench::SignSim sign(
        { QStringLiteral("--config"), QString::fromUtf8(TAVRIN_BENCH_FULL_CONFIG) });
    if (sign.device().isEmpty())
        bench::fail(QStringLiteral("the simulated sign did not start"));
    std::vector<std::unique_ptr<bench::SignSim>> silent;
    for (int port = link::kFirstPortNumber; port <= link::kLastPortNumber; ++port) {
        silent.push_back(
            std::make_unique<bench::SignSim>(QStringList { QStringLiteral("--silent") }));
        if (silent.back()->device().isEmpty())
            bench::fail(QStringLiteral("a silent simulator did not start"));
    }
    for (const int signPort : { link::kFirstPortNumber, link::kLastPortNumber }) {
        placeSign(sign, signPort, silent);
        measure(QStringLiteral("sign on COM %1, the other ports silent").arg(signPort), signPort);
    }
    placeSign(sign, 0, silent);
    measure(QStringLiteral("twelve silent ports, no sign"), 0);
    return 0;
}
