// What real lines do to a send: a sign that vanishes or never ends a line, a port that another
// program holds or that the user may not open. The program stays up, says what is true, and
// keeps every edit and pending item.
#include "SessionHelpers.h"
#include "editors/DefaultMessageEditor.h"
#include "editors/TestMessageEditor.h"

#include <QProcess>
#include <QScopeGuard>
#include <QSerialPort>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using tavrin::core::MainController;

namespace {

// The main window's controller and both message editors on COM 1, each editor holding an edit;
// the default message's opens from a stored record, so without traffic.
struct Editors
{
    MainController main;
    tavrin::editors::DefaultMessageEditor def { main.defaultMessage(), { "KR4410", "KR4410", 0 } };
    tavrin::editors::TestMessageEditor test { main };
    QStringList boxes; // every window's

    Editors()
    {
        const auto box = [this](const QString &, const QString &text) {
            boxes << text;
        };
        QObject::connect(&main, &MainController::messageRequested, &main, box);
        QObject::connect(&def, &decltype(def)::messageRequested, &def, box);
        QObject::connect(&test, &decltype(test)::messageRequested, &test, box);
        main.defaultMessage().configFileName = "sign.led";
        main.defaultMessage().SaveDefaultMsg("Stored", 1, 2, 3, 1, 4, 5);
        def.Form_Load();
        def.RemoveAck_Timer();
        test.Form_Load();
        def.setMessageText("Edited");
        QTextCursor(&test.document()).insertText("Edited");
    }
    // The status label and the boxes since the last look.
    QString told()
    {
        QStringList texts = std::exchange(boxes, {});
        if (!main.state().status.isEmpty())
            texts.prepend(main.state().status);
        main.TextClear_Timer();
        return texts.join(u'\n');
    }
    bool editsKept()
    {
        return def.state().message == "Edited" && test.document().toPlainText() == "Edited";
    }
    // No port open or about to close, every send button back.
    bool idle()
    {
        const auto &d = def.state();
        const auto &t = test.state();
        return !def.comCloseTimer().isActive() && !test.comCloseTimer().isActive()
            && !def.serialLink().isOpen() && !test.serialLink().isOpen() && d.downloadEnabled
            && d.uploadCaption == "Upload to Sign" && t.uploadEnabled
            && t.uploadCaption == "Send Message to Sign" && main.state().uploadEnabled
            && !main.uploadTimer().isActive();
    }
};

using Send = void (*)(Editors &);

// Runs this row again as user 65534 without groups, from copies of the test and of tavrin-cli
// that the user can read wherever the build lies.
bool runUnprivileged(const QString &device, QByteArray *output)
{
    QTemporaryDir dir;
    const QString self = dir.filePath("test"), cli = dir.filePath("tavrin-cli");
    if (::chmod(qPrintable(dir.path()), 0755) != 0
        || !QFile::copy(QCoreApplication::applicationFilePath(), self)
        || !QFile::copy(qEnvironmentVariable("TAVRIN_CLI"), cli))
        return false;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TAVRIN_FAULT_DEVICE", device);
    environment.insert("TAVRIN_CLI", cli);
    environment.insert("HOME", dir.path());
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(dir.path());
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start("setpriv",
                { "--reuid=65534", "--regid=65534", "--clear-groups", self,
                  QStringLiteral("refusedPort:") + QTest::currentDataTag() });
    const bool finished = child.waitForFinished(120000);
    *output = child.readAll();
    return finished && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
}

} // namespace

Q_DECLARE_METATYPE(Send)
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
};

void TestFaultSession::signFailsDuringSend_data()
{
    QTest::addColumn<Send>("send");
    QTest::addColumn<int>("vanishAfter"); // commands; 0: the sign streams without line feeds
    QTest::addColumn<QStringList>("commands"); // what a new sign then gets
    const Send upload = [](Editors &e) {
        e.def.Upload_Click();
    };
    const QStringList uploaded { "<DF f=1 c=2 s=3 a=1 sp=4 p=5>Edited\r" };
    QTest::newRow("test message send, sign vanishes")
        << Send([](Editors &e) { e.test.Upload_Click(); }) << 1
        << QStringList { "<id=0 f=-1 s=-1 c=-1 a=-1 b=-1 p=-1 sp=-1 t=>Edited\r" };
    QTest::newRow("default message upload, sign vanishes") << upload << 1 << uploaded;
    QTest::newRow("time display upload, sign vanishes between its commands")
        << Send([](Editors &e) {
               e.def.handleDefaultReply("TIME:STATUS:1");
               e.def.listClick(tavrin::vocab::Attribute::Color, 4);
               e.def.Upload_Click();
           })
        << 1 << QStringList { "\r", "<TIME f=1 c=4 s=3 a=1 sp=4 p=5 fm=0>IDLE ON\r", "RESET\r" };
    QTest::newRow("default message download, sign vanishes between its requests")
        << Send([](Editors &e) { e.def.Download_Click(); }) << 1
        << QStringList { "DOWNLOAD_DEFAULT_MSG\r", "TIME_STATUS\r" };
    QTest::newRow("default message upload, sign streams") << upload << 0 << uploaded;
    // Five changed rows; the sign answers two and vanishes on the third: two are left.
    QTest::newRow("main window upload, sign vanishes")
        << Send([](Editors &e) {
               for (int row = 0; row < tavrin::core::kRows; ++row)
                   e.main.setTimeoutText(row, "10");
               e.main.UploadAll_Click();
           })
        << 3
        << QStringList { "<DF pr=3 f=-1 c=-1 s=-1 a=-1 sp=-1 p=-1 b=-1 t=10>\r",
                         "<DF pr=4 f=-1 c=-1 s=-1 a=-1 sp=-1 p=-1 b=-1 t=10>\r" };
}

// The sign vanishes during a send, or streams without a line feed: a loss is told once, the
// buttons come back, nothing is lost, a new sign gets what was not sent, and its loss is told too.
void TestFaultSession::signFailsDuringSend()
{
    QFETCH(Send, send);
    QFETCH(int, vanishAfter);
    QFETCH(QStringList, commands);
    Editors e;
    const auto lost = [](const SignSimProcess &sign) {
        return QStringList { tavrin::link::connectionLostText(
            1, QStringLiteral("the device %1 is no longer there").arg(sign.devicePath())) };
    };
    SignSimProcess sign(vanishAfter ? QStringList {} : QStringList { "--stream" });
    QVERIFY(sign.startOnPort(1));
    sign.killAfter(vanishAfter);
    send(e);
    QTRY_VERIFY_WITH_TIMEOUT(!vanishAfter || !e.boxes.isEmpty(), 5000);
    QVERIFY(!vanishAfter || !e.def.comCloseTimer().isActive()); // a lost send does not go on
    QTRY_VERIFY_WITH_TIMEOUT(e.idle(), 10000);
    QCOMPARE(std::exchange(e.boxes, {}), vanishAfter ? lost(sign) : QStringList());
    QVERIFY(e.editsKept());
    // Nothing claims a success, nor a command that never went out.
    QVERIFY(e.def.state().ack.isEmpty() && e.test.state().ack.isEmpty());
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
    const auto release = qScopeGuard([&] {
        if (exclusive >= 0)
            ::close(exclusive);
    });
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
            QByteArray output;
            QVERIFY2(runUnprivileged(device, &output), output.constData());
            return;
        }
    } else {
        for (int row = 0; row < tavrin::core::kRows; ++row) // as a download leaves them
            e.main.setTimeoutText(row, "10");
    }
    qputenv("TAVRIN_COM1", device.toLocal8Bit());
    e.main.setTimeoutText(1, "45");
    const int autoID = e.main.state().config.autoID;
    const std::function<void()> sends[]
        = { [&] { e.main.UploadAll_Click(); }, [&] { e.main.AutoID_MouseDown(); },
            [&] { e.def.Upload_Click(); },
            [&] {
                e.test.Upload_Click();
            } };
    for (const auto &send : sends) {
        send();
        const QString text = e.told();
        QVERIFY2(text.contains(says), qPrintable(text));
    }
    QProcess cli;
    cli.start(qEnvironmentVariable("TAVRIN_CLI"), { "read", "--port", "1" });
    QVERIFY(cli.waitForFinished(60000));
    const QString error = QString::fromUtf8(cli.readAllStandardError());
    QVERIFY2(cli.exitCode() == 3 && error.contains("1-") && error.contains(says),
             qPrintable(error));
    QVERIFY(e.main.state().flags.row[1] && e.main.state().config.autoID == autoID);
    QVERIFY(e.editsKept() && e.idle());

    if (hold == Hold::SerialPort) { // the pending row goes out once the port is free
        holder.close();
        e.main.UploadAll_Click();
        QTRY_VERIFY_WITH_TIMEOUT(!e.main.uploadTimer().isActive(), 5000);
        QVERIFY(sim.receivedCommands().contains(e.main.uploadCommandsSent()[1]));
    }
}

QTEST_MAIN(TestFaultSession)
#include "tst_fault_session.moc"
