// What real lines do: a sign that vanishes or never ends a line, a port held by another program
// or not open to the user, a port that closes before the sign has had its time. The program
// stays up, says what is true, and loses nothing.
#include "DefaultMessageEditor.h"
#include "ManualClock.h"
#include "SessionHelpers.h"
#include "StoredMessage.h"
#include "TestMessageEditor.h"

#include <QProcess>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The main window's controller and both message editors on COM 1, each editor holding an edit;
// the default message's opens from a stored record, so without traffic.
struct Editors
{
    tavrin::core::MainController main;
    tavrin::editors::DefaultMessageEditor def { main.defaultMessage(), { "KR4410", "KR4410", 0 } };
    tavrin::editors::TestMessageEditor test { main };
    QStringList boxes; // every window's

    Editors()
    {
        const auto box = [this](const QString &, const QString &text) {
            boxes << text;
        };
        QObject::connect(&main, &decltype(main)::messageRequested, &main, box);
        QObject::connect(&def, &decltype(def)::messageRequested, &def, box);
        QObject::connect(&test, &decltype(test)::messageRequested, &test, box);
        for (int row = 0; row < tavrin::core::kRows; ++row) // timeouts a sign takes
            main.setTimeoutText(row, "10");
        main.defaultMessage().configFileName = "sign.led";
        main.defaultMessage().message = storedMessage("Stored", 1, 2, 3, 1, 4, 5);
        def.open();
        test.open();
        def.setMessageText("Edited");
        QTextCursor(&test.document()).insertText("Edited");
    }
    // No port open or about to close, every send button back with its caption, edits kept.
    bool settled()
    {
        return !def.serialLink().isOpen() && !def.isBusy()
            && def.state().uploadCaption == "Upload to Sign" && !test.serialLink().isOpen()
            && test.state().uploadCaption == "Send Message to Sign" && !main.isBusy()
            && main.state().uploadEnabled && def.state().message == "Edited"
            && test.document().toPlainText() == "Edited";
    }
};

using Send = void (*)(Editors &);
using SendOn = tavrin::link::SerialLink &(*)(Editors &); // starts a send, gives its line

// Runs this row again as user 65534 without groups, from copies of the test and of tavrin-cli
// that the user can read wherever the build lies; says what failed.
QByteArray failedUnprivileged(const QString &device)
{
    QTemporaryDir dir;
    const QString self = dir.filePath("test"), cli = dir.filePath("tavrin-cli");
    if (::chmod(qPrintable(dir.path()), 0755) != 0
        || !QFile::copy(QCoreApplication::applicationFilePath(), self)
        || !QFile::copy(qEnvironmentVariable("TAVRIN_CLI"), cli))
        return "cannot copy the test";
    QProcess child;
    child.setWorkingDirectory(dir.path());
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start("setpriv",
                { "--reuid=65534", "--regid=65534", "--clear-groups", "env",
                  "TAVRIN_FAULT_DEVICE=" + device, "TAVRIN_CLI=" + cli, "HOME=" + dir.path(), self,
                  QStringLiteral("refusedPort:") + QTest::currentDataTag() });
    const bool passed = child.waitForFinished(120000) && child.exitStatus() == QProcess::NormalExit
        && child.exitCode() == 0;
    return passed ? QByteArray() : "the child failed:\n" + child.readAll();
}

} // namespace

enum class Hold { SerialPort, Exclusive, NoPermission };

class TestFaultSession : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void signFailsDuringSend_data();
    void signFailsDuringSend();
    void refusedPort_data();
    void refusedPort();
    void portClosesAfterItsDelay_data();
    void portClosesAfterItsDelay();
};

void TestFaultSession::signFailsDuringSend_data()
{
    QTest::addColumn<Send>("send");
    QTest::addColumn<QString>("sign"); // the simulator's option
    QTest::addColumn<int>("vanishAfter"); // commands; 0: never
    QTest::addColumn<QStringList>("commands"); // what a new sign then gets
    QTest::newRow("test message send, sign vanishes")
        << Send([](Editors &e) { e.test.upload(); }) << "" << 1
        << QStringList { "<id=0 f=-1 s=-1 c=-1 a=-1 b=-1 p=-1 sp=-1 t=10>Edited\r" };
    QTest::newRow("time display upload, sign vanishes between its commands")
        << Send([](Editors &e) {
               e.def.handleDefaultReply(
                   tavrin::protocol::SignAnswer::paired("TIME:STATUS:1", "TIME_STATUS\r"));
               e.def.listClick(tavrin::vocab::Attribute::Color, 4);
               e.def.upload();
           })
        << "" << 1
        << QStringList { "\r", "<TIME f=1 c=4 s=3 a=1 sp=4 p=5 fm=0>IDLE ON\r", "RESET\r" };
    QTest::newRow("default message download, sign vanishes between its requests")
        << Send([](Editors &e) { e.def.download(); }) << "" << 1
        << QStringList { "DOWNLOAD_DEFAULT_MSG\r", "TIME_STATUS\r" };
    QTest::newRow("default message upload, sign streams")
        << Send([](Editors &e) { e.def.upload(); }) << "--stream" << 0
        << QStringList { "<DF f=1 c=2 s=3 a=1 sp=4 p=5>Edited\r" };
}

// The sign vanishes during a send, or never sends a line: a loss is told once, the buttons
// come back, nothing is lost, a new sign gets what was not sent, and its loss is told too.
void TestFaultSession::signFailsDuringSend()
{
    QFETCH(Send, send);
    QFETCH(QString, sign);
    QFETCH(int, vanishAfter);
    QFETCH(QStringList, commands);
    Editors e;
    const auto lost = [](const SignSimProcess &sim) {
        return QStringList { tavrin::link::connectionLostText(
            1, QStringLiteral("the device %1 is no longer there").arg(sim.devicePath())) };
    };
    SignSimProcess first(sign.isEmpty() ? QStringList {} : QStringList { sign });
    QVERIFY(first.startOnPort(1));
    first.killAfter(vanishAfter);
    send(e);
    QTRY_VERIFY_WITH_TIMEOUT(!vanishAfter || !e.boxes.isEmpty(), 5000);
    QVERIFY(!vanishAfter || !e.def.isBusy()); // a lost send does not go on
    QTRY_VERIFY_WITH_TIMEOUT(e.settled(), 10000);
    QCOMPARE(std::exchange(e.boxes, {}), vanishAfter ? lost(first) : QStringList());
    // Nothing claims a success, nor a command that never went out.
    QVERIFY(!(e.def.state().ack + e.test.state().ack).contains("success", Qt::CaseInsensitive));
    QVERIFY2(!e.def.state().test.endsWith("RESET"), qPrintable(e.def.state().test));

    SignSimProcess replacement;
    QVERIFY(replacement.startOnPort(1));
    replacement.killAfter(int(commands.size()));
    send(e);
    QVERIFY(replacement.waitForCommands(int(commands.size())));
    QCOMPARE(replacement.receivedCommands(), commands);
    QTRY_COMPARE_WITH_TIMEOUT(e.boxes, lost(replacement), 5000);
}

void TestFaultSession::refusedPort_data()
{
    QTest::addColumn<Hold>("hold");
    QTest::addColumn<QString>("says");
    QTest::newRow("held by another program") << Hold::SerialPort << "in use by another program";
    QTest::newRow("held exclusively") << Hold::Exclusive << "in use by another program";
    QTest::newRow("no read-write permission") << Hold::NoPermission << "\"dialout\" group";
}

// Every window and the command line say why the port is refused, and lose nothing. Root may
// open any device, so as root the unprivileged rows run again in a child that is not.
void TestFaultSession::refusedPort()
{
    QFETCH(Hold, hold);
    QFETCH(QString, says);
    QString device = qEnvironmentVariable("TAVRIN_FAULT_DEVICE"); // set in the child
    SignSimProcess sim;
    Editors e;
    QSerialPort holder;
    int exclusive = -1;
    if (device.isEmpty()) {
        QVERIFY(sim.startOnPort(1));
        device = sim.devicePath();
        QVERIFY(downloadFromSign(e.main));
        holder.setPortName(device);
        QVERIFY(hold != Hold::SerialPort || holder.open(QIODevice::ReadWrite));
        if (hold == Hold::Exclusive) {
            exclusive = ::open(qPrintable(device), O_RDWR | O_NOCTTY | O_NONBLOCK);
            QVERIFY(exclusive >= 0 && ::ioctl(exclusive, TIOCEXCL) == 0);
        }
        QCOMPARE(::chmod(qPrintable(device), hold == Hold::NoPermission ? 0444 : 0666), 0);
        if (hold != Hold::SerialPort && ::geteuid() == 0) {
            const QByteArray failure = failedUnprivileged(device);
            ::close(exclusive);
            QVERIFY2(failure.isEmpty(), failure.constData());
            return;
        }
    }
    qputenv("TAVRIN_COM1", device.toLocal8Bit());
    e.main.setTimeoutText(1, "45");
    const int autoID = e.main.state().config.autoID;
    for (const Send send :
         { Send([](Editors &e) { e.main.upload(); }),
           Send([](Editors &e) { e.main.toggleIdMode(); }),
           Send([](Editors &e) { e.def.upload(); }), Send([](Editors &e) { e.test.upload(); }) }) {
        send(e); // the status label or a box says why
        const QString told = e.main.state().status + e.boxes.join(u'\n');
        QVERIFY2(told.contains(says), qPrintable(told));
        e.main.clearStatus();
        e.boxes.clear();
    }
    QProcess cli;
    cli.start(qEnvironmentVariable("TAVRIN_CLI"), { "read", "--port", "1" });
    QVERIFY(cli.waitForFinished(60000));
    const QString error = QString::fromUtf8(cli.readAllStandardError());
    QVERIFY2(cli.exitCode() == 3 && error.contains("COM 1 (" + device + "): ")
                 && error.contains(says),
             qPrintable(error));
    QVERIFY(e.main.state().flags.row[1] && e.main.state().config.autoID == autoID);
    QVERIFY(e.settled());

    if (hold == Hold::SerialPort) { // the pending row goes out once the port is free
        holder.close();
        e.main.upload();
        QTRY_VERIFY_WITH_TIMEOUT(!e.main.isBusy(), 5000);
        QVERIFY(sim.receivedCommands().contains(e.main.uploadCommandsSent()[1]));
    }
}

void TestFaultSession::portClosesAfterItsDelay_data()
{
    QTest::addColumn<SendOn>("send");
    QTest::addColumn<int>("lastWrite"); // ms after the send
    QTest::addColumn<int>("replies");
    QTest::addColumn<int>("delay"); // ms from the last write to the close
    // clang-format off
    QTest::newRow("test message") << SendOn([](Editors &e) -> auto & { e.test.upload(); return e.test.serialLink(); }) << 0 << 1 << 500;
    QTest::newRow("default message download") << SendOn([](Editors &e) -> auto & { e.def.download(); return e.def.serialLink(); }) << 100 << 2 << 550;
    QTest::newRow("main window download: closed once its reply is in") << SendOn([](Editors &e) -> auto & { e.main.download(); return e.main.serialLink(); }) << 0 << 1 << 0;
    // clang-format on
}

// However soon the sign answers, a message window's port stays open until the delay after the
// last write; the main window's download has all it waits for once its line is in.
void TestFaultSession::portClosesAfterItsDelay()
{
    QFETCH(SendOn, send);
    QFETCH(int, lastWrite);
    QFETCH(int, replies);
    QFETCH(int, delay);
    ManualClock clock;
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(1));
    Editors e;
    tavrin::link::SerialLink &line = send(e);
    QSignalSpy answers(&line, &tavrin::link::SerialLink::lineReceived);
    clock.advance(std::chrono::milliseconds(lastWrite));
    QTRY_COMPARE_WITH_TIMEOUT(answers.size(), replies, 5000); // while the clock stands still
    if (delay > 0) {
        clock.advance(std::chrono::milliseconds(delay - 1));
        QVERIFY(line.isOpen());
    }
    clock.advance(std::chrono::milliseconds(delay > 0 ? 1 : 0));
    QVERIFY(!line.isOpen());
}

QTEST_MAIN(TestFaultSession)
#include "tst_fault_session.moc"
