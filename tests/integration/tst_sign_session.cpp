#include "SessionHelpers.h"

#include "SerialLink.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <QSignalSpy>
#include <fcntl.h>
#include <unistd.h>

using tavrin::core::MainController;

class TestSignSession : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void startupWithoutSign();
    void closedWhileProbing();
    void searchReadsLongReply_data();
    void searchReadsLongReply();
    void searchProbesEveryPortAtOnce_data();
    void searchProbesEveryPortAtOnce();
    void downloadPerModel_data();
    void downloadPerModel();
    void idSwitch();
    void factoryDefaults();
};

// No sign answers, and the device on COM 1 is unplugged while it is probed: the search goes on
// without a box that would stop it, and tells the loss when it is over.
void TestSignSession::startupWithoutSign()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
    qputenv("TAVRIN_COM1", ptsname(master));
    QSocketNotifier unplug(master, QSocketNotifier::Read);
    connect(&unplug, &QSocketNotifier::activated, this, [&] {
        unplug.setEnabled(false);
        ::close(master);
    });

    MainController controller;
    QSignalSpy finished(&controller, &MainController::searchFinished);
    QSignalSpy messages(&controller, &MainController::messageRequested);
    controller.startPortSearch();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
    QVERIFY(!unplug.isEnabled());
    QVERIFY(messages.isEmpty());
    QVERIFY2(
        controller.state().status.startsWith(QStringLiteral("The connection to COM 1 was lost")),
        qPrintable(controller.state().status));

    const auto &state = controller.state();
    QVERIFY(state.modelLabel.isEmpty());
    QCOMPARE(state.portIndex, 0);
    for (int k = 2; k <= 12; ++k) {
        const QString entry = state.portEntries.at(k - 1);
        QVERIFY2(entry.startsWith(QString::number(k) + QLatin1Char('-')), qPrintable(entry));
        QVERIFY(entry.size() > 3); // the failure says why
    }
    QVERIFY(state.downloadEnabled);
}

// The window closes while a probe's port is open, and the program quits: the search must end
// rather than wait for a ComClose that no event will run any more.
void TestSignSession::closedWhileProbing()
{
    SignSimProcess sim({ QStringLiteral("--silent") });
    QVERIFY(sim.startOnPort(1));
    MainController controller;
    QSignalSpy finished(&controller, &MainController::searchFinished);
    bool closed = false;
    connect(&controller, &MainController::stateChanged, this, [&] {
        if (!closed && !controller.state().downloadEnabled) { // a probe is under way
            closed = true;
            controller.stopPortSearch(); // MainWindow's close, then the last window is gone
            QCoreApplication::quit();
        }
    });
    QTimer::singleShot(20000, &controller, &QCoreApplication::quit); // no probe at all
    controller.startPortSearch();
    QCoreApplication::exec();
    QVERIFY(closed);
    QCOMPARE(finished.size(), 1);
}

// Fills the sign's link table with sixteen nine-digit capcodes and pads the user command so
// that the configuration line takes `milliseconds` at 9600 baud.
static QString fillSign(int portNumber, int milliseconds)
{
    tavrin::link::SerialLink link;
    if (!link.open(portNumber))
        return {};
    QStringList replies;
    QObject::connect(&link, &tavrin::link::SerialLink::lineReceived,
                     [&](const QString &line) { replies << line; });
    for (int id = 0; id < 8; ++id) {
        link.write(QString::asprintf("<link id=%d cap=%d,%d pr=1>\r", id, 100000000 + 2 * id,
                                     100000001 + 2 * id));
        if (!QTest::qWaitFor([&] { return replies.size() == id + 1; }, 3000))
            return {};
    }
    link.write(QStringLiteral("DOWNLOAD_ALL\r"));
    if (!QTest::qWaitFor([&] { return replies.size() == 9; }, 3000))
        return {};
    const qsizetype characters = milliseconds * 960 / 1000;
    const QString padding(qMax<qsizetype>(1, characters - replies.last().size() - 1), u'U');
    link.write(QStringLiteral("<UC>") + padding + u'\r');
    if (!QTest::qWaitFor([&] { return replies.size() == 10; }, 3000))
        return {};
    return padding;
}

void TestSignSession::searchReadsLongReply_data()
{
    QTest::addColumn<int>("milliseconds");
    QTest::newRow("reply ends after the search's 300 ms wait") << 350;
    QTest::newRow("reply outlasts ComClose's 400 ms") << 900;
}

// A well-filled sign answers on COM 2 with COM 3 absent: the search must select the port that
// answered, read the whole line, and leave a port that later downloads reach.
void TestSignSession::searchReadsLongReply()
{
    QFETCH(int, milliseconds);
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(2));
    const QString userCommand = fillSign(2, milliseconds);
    QVERIFY(!userCommand.isEmpty());

    MainController controller;
    QSignalSpy finished(&controller, &MainController::searchFinished);
    controller.startPortSearch();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
    const auto check = [&] {
        const auto &state = controller.state();
        QCOMPARE(state.portIndex, 1);
        QVERIFY(state.portEntries.at(0).startsWith(QStringLiteral("1-")));
        for (int k = 2; k <= 12; ++k) // the found port and the ones never probed keep their names
            QCOMPARE(state.portEntries.at(k - 1), QStringLiteral("COM ") + QString::number(k));
        QVERIFY(!state.statusVisible && state.priorityPanelShown);
        QVERIFY(!controller.isSearching());
        QCOMPARE(state.modelLabel, QStringLiteral("KR4410"));
        QCOMPARE(state.config.userCommand, userCommand);
        for (int id = 0; id < 8; ++id)
            QCOMPARE(state.config.links[size_t(id)].capcode,
                     QStringLiteral("%1,%2").arg(100000000 + 2 * id).arg(100000001 + 2 * id));
    };
    check();
    QCOMPARE(sim.receivedCommands().count(QStringLiteral("DOWNLOAD_ALL\r")), 2);
    QTRY_VERIFY(controller.state().downloadEnabled);
    QVERIFY(downloadFromSign(controller));
    check();
    QCOMPARE(sim.receivedCommands().count(QStringLiteral("DOWNLOAD_ALL\r")), 3);
}

// Whether this process holds any of these devices open.
static bool anyOpen(const QStringList &devices)
{
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString &fd : fds.entryList(QDir::Files | QDir::System)) {
        if (devices.contains(QFile::symLinkTarget(fds.filePath(fd))))
            return true;
    }
    return false;
}

void TestSignSession::searchProbesEveryPortAtOnce_data()
{
    QTest::addColumn<QList<int>>("signs"); // ports with a sign; every other port is silent
    QTest::addColumn<int>("longReplyPort"); // the sign whose reply ends after the probe's wait
    QTest::addColumn<int>("found");
    QTest::newRow("sign on COM 12") << QList { 12 } << 0 << 12;
    QTest::newRow("signs on COM 4 and COM 9") << QList { 4, 9 } << 0 << 4;
    QTest::newRow("COM 3's long reply beats COM 7") << QList { 3, 7 } << 3 << 3;
    QTest::newRow("COM 2 ends COM 5's long reply") << QList { 2, 5 } << 5 << 2;
}

// The lowest-numbered sign wins whatever answers first, and the search leaves no port open.
void TestSignSession::searchProbesEveryPortAtOnce()
{
    QFETCH(QList<int>, signs);
    QFETCH(int, longReplyPort);
    std::vector<std::unique_ptr<SignSimProcess>> sims;
    QStringList devices;
    for (int k = 1; k <= 12; ++k) {
        const QStringList silent { QStringLiteral("--silent") };
        sims.push_back(
            std::make_unique<SignSimProcess>(signs.contains(k) ? QStringList() : silent));
        QVERIFY(sims.back()->startOnPort(k));
        devices << sims.back()->devicePath();
    }
    if (longReplyPort > 0)
        QVERIFY(!fillSign(longReplyPort, 700).isEmpty());

    MainController controller;
    QSignalSpy finished(&controller, &MainController::searchFinished);
    controller.startPortSearch();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
    QTEST(controller.state().portIndex + 1, "found");
    QCOMPARE(controller.state().modelLabel, QStringLiteral("KR4410"));
    QVERIFY(!anyOpen(devices));
    for (int k : signs) // every sign was probed at once, the losers too
        QVERIFY(sims[size_t(k - 1)]->waitForCommands(longReplyPort == k ? 11 : 1));
}

// Each model's encoding, and the firmware notice: only a build below 3 announces a newer image.
void TestSignSession::downloadPerModel_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("vx903");
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("shown");
    QTest::newRow("KR4410, build 2.9 is old") << "KR4410" << false << "2.9"
                                              << "2.9";
    QTest::newRow("TM207, build 3 is current") << "TM207" << false << "3"
                                               << "3";
    QTest::newRow("VX903 lists, no build field") << "VX903" << true << ""
                                                 << "Not Available";
    QTest::newRow("other model, build 3.9") << "QX55" << false << "3.9"
                                            << "3.9";
}

void TestSignSession::downloadPerModel()
{
    QFETCH(QString, model);
    QFETCH(bool, vx903);
    QFETCH(QString, build);
    QFETCH(QString, shown);
    SignSimProcess sim({ QStringLiteral("--model"), model, QStringLiteral("--build"), build });
    QVERIFY(sim.startOnPort(1));

    MainController controller;
    QSignalSpy messages(&controller, &MainController::messageRequested);
    QVERIFY(downloadFromSign(controller));
    const auto &state = controller.state();
    QCOMPARE(state.modelLabel, model);
    QCOMPARE(state.modelNumber, model);
    QCOMPARE(state.profile.vx903, vx903);
    compareWithFactory(state, model);
    // The image agrees with the controls: an upload would find nothing to send.
    QCOMPARE(controller.markChangedItems(), 0);
    QVERIFY(state.downloadEnabled && state.uploadEnabled && state.factoryDefaultsEnabled);
    QCOMPARE(state.firmwareCount, shown);
    QCOMPARE(messages.size(), build == QStringLiteral("2.9") ? 1 : 0);
    if (!messages.isEmpty())
        QVERIFY(messages.first().at(1).toString().startsWith(
            QStringLiteral("A newer rom file Norvik 4.1.rom is available to Upload\r\n")));
    QCOMPARE(state.profile.speedAndAlignmentEnabled, !vx903);
}

void TestSignSession::idSwitch()
{
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(1));

    MainController controller;
    QVERIFY(downloadFromSign(controller));
    QCOMPARE(controller.state().config.autoID, 1);
    controller.toggleIdMode();
    QCOMPARE(controller.state().config.autoID, 0);
    QVERIFY(!controller.state().autoIDEnabled && !controller.state().uploadEnabled);
    QTRY_VERIFY(!controller.isBusy());
    QCOMPARE(controller.state().status, QStringLiteral("Switched to User ID"));
    QVERIFY(!controller.serialLink().isOpen());
    QVERIFY(controller.state().autoIDEnabled && controller.state().uploadEnabled);
    QCOMPARE(sim.receivedCommands().last(), QStringLiteral("<id=user>\r"));
    // The image still holds the downloaded mode, so the next upload sends the switch again.
    QCOMPARE(controller.state().image.autoID, 1);

    // With no device behind the port the box is put back, then the operator is told.
    controller.setPortIndex(6);
    QStringList order;
    connect(&controller, &MainController::stateChanged, this, [&] { order << "state"; });
    connect(&controller, &MainController::messageRequested, this, [&] { order << "box"; });
    QSignalSpy messages(&controller, &MainController::messageRequested);
    controller.toggleIdMode();
    QCOMPARE(controller.state().config.autoID, 0);
    QCOMPARE(order, (QStringList { "state", "box" }));
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().at(1).toString(),
             QStringLiteral("Cannot Open Port:7\r\nPlease Change Comport"));
}

void TestSignSession::factoryDefaults()
{
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(1));

    MainController controller;
    QVERIFY(downloadFromSign(controller));
    controller.toggleIdMode(); // the sign now differs from its factory settings
    QTRY_VERIFY(!controller.isBusy());
    controller.sendFactoryDefaults();
    QVERIFY(!controller.state().downloadEnabled && !controller.state().factoryDefaultsEnabled);
    QCOMPARE(controller.state().progressMaximum, 20);
    QSignalSpy read(&controller, &MainController::downloadFinished);
    QTRY_COMPARE_WITH_TIMEOUT(read.size(), 1, 5000);
    QCOMPARE(sim.receivedCommands().mid(2),
             QStringList({ QStringLiteral("<FD>\r"), QStringLiteral("DOWNLOAD_ALL\r") }));
    compareWithFactory(controller.state(), QStringLiteral("KR4410"));
    const auto &state = controller.state();
    QVERIFY(state.downloadEnabled && state.uploadEnabled && state.factoryDefaultsEnabled);
}

QTEST_GUILESS_MAIN(TestSignSession)
#include "tst_sign_session.moc"
