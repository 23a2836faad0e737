#include "SessionHelpers.h"

#include "link/SerialLink.h"

#include <QElapsedTimer>
#include <QSignalSpy>

using tavrin::core::MainController;

class TestSignSession : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void linkCarriesDownloadRequestAndReply();
    void startupFindsSignOnFifthPort();
    void startupWithoutSign();
    void downloadPerModel_data();
    void downloadPerModel();
    void modelChangeRestoresStandardLists();
    void firmwareNotice_data();
    void firmwareNotice();
    void idSwitch();
    void factoryDefaults();
};

void TestSignSession::linkCarriesDownloadRequestAndReply()
{
    SignSimProcess sim;
    QVERIFY(sim.start());
    qputenv("TAVRIN_COM3", sim.devicePath().toLocal8Bit());

    tavrin::link::SerialLink link;
    QVERIFY(link.open(3));
    QSignalSpy lines(&link, &tavrin::link::SerialLink::lineReceived);
    QVERIFY(link.write(QStringLiteral("DOWNLOAD_ALL\r")));
    QVERIFY(lines.wait(3000));
    QVERIFY(sim.waitForCommands(1));
    QCOMPARE(sim.receivedCommands(), QStringList { QStringLiteral("DOWNLOAD_ALL\r") });

    const QString line = lines.first().first().toString();
    QVERIFY2(line.startsWith(QStringLiteral("DOWNLOAD_ALLKR4410")), qPrintable(line));
    const QStringList data = line.section(QLatin1Char(':'), 1, 1).split(QLatin1Char(','));
    QCOMPARE(data.size(), 90); // 40 profile fields, 16 link entries, ID mode, user command
    QVERIFY(!line.endsWith(QLatin1Char('\r')));
}

void TestSignSession::startupFindsSignOnFifthPort()
{
    SignSimProcess sim;
    QVERIFY(sim.start());
    qputenv("TAVRIN_COM5", sim.devicePath().toLocal8Bit());

    MainController controller;
    QSignalSpy finished(&controller, &MainController::searchFinished);
    QElapsedTimer clock;
    clock.start();
    controller.Form_Load();
    QVERIFY(sim.waitForCommands(1, 10000));
    // One 400 ms tick, then four failed probes of at least 400 ms of Sleep each.
    QVERIFY2(clock.elapsed() >= 400 + 4 * 400, qPrintable(QString::number(clock.elapsed())));
    // The search runs in a timer tick that nests its own waits, so it may already be over.
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 10000);

    const auto &state = controller.state();
    QCOMPARE(state.modelLabel, QStringLiteral("KR4410"));
    QCOMPARE(state.firmwareCount, QStringLiteral("5"));
    QCOMPARE(state.portIndex, 4);
    compareWithFactory(state, QStringLiteral("KR4410"));
    QCOMPARE(sim.receivedCommands(), QStringList { QStringLiteral("DOWNLOAD_ALL\r") });
    for (int k = 1; k <= 4; ++k)
        QVERIFY2(state.portEntries.at(k - 1).startsWith(QString::number(k) + QLatin1Char('-')),
                 qPrintable(state.portEntries.at(k - 1)));
    for (int k = 5; k <= 12; ++k) // the found port and the ones never probed keep their names
        QCOMPARE(state.portEntries.at(k - 1), QStringLiteral("COM ") + QString::number(k));
    QVERIFY(!controller.searchPortTimer().isActive());
    QVERIFY(!state.statusVisible);
    QVERIFY(state.priorityPanelShown);
    QTRY_VERIFY(state.downloadEnabled);
}

void TestSignSession::startupWithoutSign()
{
    MainController controller;
    QSignalSpy finished(&controller, &MainController::searchFinished);
    controller.Form_Load();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);

    const auto &state = controller.state();
    QVERIFY(state.modelLabel.isEmpty());
    QCOMPARE(state.portIndex, 0);
    for (int k = 1; k <= 12; ++k) {
        const QString entry = state.portEntries.at(k - 1);
        QVERIFY2(entry.startsWith(QString::number(k) + QLatin1Char('-')), qPrintable(entry));
        QVERIFY(entry.size() > 3); // the failure says why
    }
    QVERIFY(state.downloadEnabled);
}

void TestSignSession::downloadPerModel_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("vx903");
    QTest::newRow("KR4410 character codes") << "KR4410" << false;
    QTest::newRow("TM207 character codes") << "TM207" << false;
    QTest::newRow("VX903 lists") << "VX903" << true;
    QTest::newRow("other model plain numbers") << "QX55" << false;
}

void TestSignSession::downloadPerModel()
{
    QFETCH(QString, model);
    QFETCH(bool, vx903);
    SignSimProcess sim({ QStringLiteral("--model"), model });
    QVERIFY(sim.start());
    qputenv("TAVRIN_COM1", sim.devicePath().toLocal8Bit());

    MainController controller;
    QVERIFY(downloadFromSign(controller));
    const auto &state = controller.state();
    QCOMPARE(state.modelLabel, model);
    QCOMPARE(state.modelNumber, model);
    QCOMPARE(state.profile.vx903, vx903);
    compareWithFactory(state, model);
    // The image agrees with the controls: an upload would find nothing to send.
    QCOMPARE(controller.getChangedRows(), 0);
    QCOMPARE(state.downloadCaption, QStringLiteral("Download from Sign"));
    QVERIFY(state.downloadEnabled && state.uploadEnabled && state.factoryDefaultsEnabled);
}

void TestSignSession::modelChangeRestoresStandardLists()
{
    SignSimProcess vx({ QStringLiteral("--model"), QStringLiteral("VX903") });
    SignSimProcess kr;
    QVERIFY(vx.start() && kr.start());
    qputenv("TAVRIN_COM1", vx.devicePath().toLocal8Bit());
    qputenv("TAVRIN_COM2", kr.devicePath().toLocal8Bit());

    MainController controller;
    QVERIFY(downloadFromSign(controller));
    QVERIFY(controller.state().profile.vx903);
    QVERIFY(!controller.state().profile.speedAndAlignmentEnabled);
    controller.setPortIndex(1);
    QVERIFY(downloadFromSign(controller));
    QVERIFY(!controller.state().profile.vx903);
    QVERIFY(controller.state().profile.speedAndAlignmentEnabled);
    compareWithFactory(controller.state(), QStringLiteral("KR4410"));
}

void TestSignSession::firmwareNotice_data()
{
    QTest::addColumn<QString>("build");
    QTest::addColumn<bool>("notice");
    QTest::addColumn<QString>("shown");
    QTest::newRow("2.9 is old") << "2.9" << true << "2.9";
    QTest::newRow("3 is current") << "3" << false << "3";
    QTest::newRow("3.9") << "3.9" << false << "3.9";
    QTest::newRow("no build field") << "" << false << "Not Available";
}

void TestSignSession::firmwareNotice()
{
    QFETCH(QString, build);
    QFETCH(bool, notice);
    QFETCH(QString, shown);
    SignSimProcess sim({ QStringLiteral("--build"), build });
    QVERIFY(sim.start());
    qputenv("TAVRIN_COM1", sim.devicePath().toLocal8Bit());

    MainController controller;
    QSignalSpy messages(&controller, &MainController::messageRequested);
    QVERIFY(downloadFromSign(controller));
    QCOMPARE(controller.state().firmwareCount, shown);
    QCOMPARE(messages.size(), notice ? 1 : 0);
    if (notice) {
        QCOMPARE(messages.first().at(0).toString(), QStringLiteral("Upgrade Firmware"));
        QVERIFY(messages.first().at(1).toString().startsWith(
            QStringLiteral("A newer rom file Norvik 4.1.rom is available to Upload\r\n")));
    }
}

void TestSignSession::idSwitch()
{
    SignSimProcess sim;
    QVERIFY(sim.start());
    qputenv("TAVRIN_COM1", sim.devicePath().toLocal8Bit());

    MainController controller;
    QVERIFY(downloadFromSign(controller));
    QCOMPARE(controller.state().config.autoID, 1);
    controller.AutoID_MouseDown();
    QCOMPARE(controller.state().config.autoID, 0);
    QCOMPARE(controller.state().status, QStringLiteral("Switched to User ID"));
    QVERIFY(!controller.serialLink().isOpen());
    QVERIFY(controller.state().autoIDEnabled && controller.state().uploadEnabled);
    QCOMPARE(sim.receivedCommands().last(), QStringLiteral("<id=user>\r"));
    // The image still holds the downloaded mode, so the next upload sends the switch again.
    QCOMPARE(controller.state().image.autoID, 1);

    // With no device behind the port the box is left alone and the operator is told.
    controller.setPortIndex(6);
    QSignalSpy messages(&controller, &MainController::messageRequested);
    controller.AutoID_MouseDown();
    QCOMPARE(controller.state().config.autoID, 0);
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().at(1).toString(),
             QStringLiteral("Cannot Open Port:7\r\nPlease Change Comport"));
}

void TestSignSession::factoryDefaults()
{
    SignSimProcess sim;
    QVERIFY(sim.start());
    qputenv("TAVRIN_COM1", sim.devicePath().toLocal8Bit());

    MainController controller;
    QVERIFY(downloadFromSign(controller));
    controller.AutoID_MouseDown(); // the sign now differs from its factory settings
    controller.sendFactoryDefaults();
    QVERIFY(!controller.state().downloadEnabled && !controller.state().factoryDefaultsEnabled);
    QCOMPARE(controller.state().progressMaximum, 20);
    QTRY_VERIFY_WITH_TIMEOUT(
        !controller.factoryDefTimer().isActive() && !controller.comCloseTimer().isActive(), 5000);
    QCOMPARE(sim.receivedCommands().mid(2),
             QStringList({ QStringLiteral("<FD>\r"), QStringLiteral("DOWNLOAD_ALL\r") }));
    compareWithFactory(controller.state(), QStringLiteral("KR4410"));
    const auto &state = controller.state();
    QVERIFY(state.downloadEnabled && state.uploadEnabled && state.factoryDefaultsEnabled);
}

QTEST_GUILESS_MAIN(TestSignSession)
#include "tst_sign_session.moc"
