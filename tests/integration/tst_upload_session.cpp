#include "SessionHelpers.h"

#include "UploadProgress.h"

#include <QElapsedTimer>
#include <QSignalSpy>

using tavrin::core::MainController;
using tavrin::vocab::Attribute;

class TestUploadSession : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void uploadSendsOnlyWhatChanged();
    void badTimeoutRefusesUpload();

private:
    static bool waitForUploadEnd(MainController &controller)
    {
        return QTest::qWaitFor([&] { return !controller.isBusy(); }, 20000);
    }
};

void TestUploadSession::uploadSendsOnlyWhatChanged()
{
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(1));

    MainController controller;
    QVERIFY(downloadFromSign(controller));
    controller.setTimeoutText(2, QStringLiteral("45"));
    controller.setRowCode(0, Attribute::Font, 12);
    controller.setCapcode(3, QStringLiteral("777001"));

    QElapsedTimer clock;
    clock.start();
    controller.upload();
    QCOMPARE(controller.state().progressMaximum, 1 + 3 * 20);
    QCOMPARE(controller.state().uploadCaption, QStringLiteral("Writing..."));
    QVERIFY(waitForUploadEnd(controller));
    // One item per 500 ms tick and a last tick to close: (3 + 1) ticks, less timer slack.
    QVERIFY2(clock.elapsed() >= 4 * 500 - 100, qPrintable(QString::number(clock.elapsed())));

    // The download, then the two rows and the link's two commands; their text and order are
    // checked by the command line's write, which drives the same controller.
    const int expected = 1 + 4;
    QVERIFY(sim.waitForCommands(expected));
    QVERIFY(!controller.serialLink().isOpen());
    QCOMPARE(controller.state().uploadCaption, QStringLiteral("Upload to Sign"));
    QVERIFY(!controller.state().progressVisible);

    // The sign kept the edits: a new download shows them and leaves nothing to upload.
    QVERIFY(downloadFromSign(controller));
    QCOMPARE(controller.state().config.rows[0].font, 12);
    QCOMPARE(controller.state().config.rows[2].timeout, QStringLiteral("45"));
    QCOMPARE(controller.state().config.links[3].capcode, QStringLiteral("777001"));
    controller.upload();
    QCOMPARE(controller.state().status, QStringLiteral("Nothing to Upload"));
    QCOMPARE(controller.state().progressMaximum, 1);
    QVERIFY(waitForUploadEnd(controller));
    QCOMPARE(sim.receivedCommands().size(), expected + 1); // the second download only

    // Force Upload while an upload runs: the running one serves everything, in order.
    controller.setTimeoutText(2, QStringLiteral("50"));
    controller.upload();
    controller.uploadEverything();
    QCOMPARE(controller.state().progressMaximum, 301);
    QVERIFY(waitForUploadEnd(controller));
    const auto config = controller.state().config;
    QCOMPARE(sim.receivedCommands().mid(expected + 1),
             tavrin::core::uploadPlan(controller.state(), true));
    // Forcing sends what the window shows, so a new download changes nothing.
    QVERIFY(downloadFromSign(controller));
    QCOMPARE(controller.state().config, config);
}

// A timeout the sign cannot take is refused before the port is touched.
void TestUploadSession::badTimeoutRefusesUpload()
{
    MainController controller;
    controller.setTimeoutText(4, QStringLiteral("ten"));
    QSignalSpy messages(&controller, &MainController::messageRequested);
    controller.upload();
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first().at(1).toString().contains(QStringLiteral("Priority 0")));
    QVERIFY(!controller.isBusy() && controller.state().uploadEnabled);
}

QTEST_GUILESS_MAIN(TestUploadSession)
#include "tst_upload_session.moc"
