#include "CommandFramer.h"
#include "SignInterpreter.h"
#include "SignSimProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

using namespace tavrin::signsim;

namespace {

constexpr int kReplyTimeoutMs = 5000;

// A client as the program opens it; QSerialPort's defaults are the sign's 9600 baud, 8N1.
struct Client
{
    QSerialPort port;
    QByteArray received;

    bool open(const QString &device)
    {
        port.setPortName(device);
        QObject::connect(&port, &QSerialPort::readyRead, &port,
                         [this] { received += port.readAll(); });
        if (port.open(QIODevice::ReadWrite))
            return true;
        qWarning() << device << port.errorString();
        return false;
    }
    bool send(const QByteArray &bytes) { return port.write(bytes) == bytes.size() && port.flush(); }
};

} // namespace

class TestSignSimEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { isolateSerialPorts(); }
    void replies_data();
    void replies();
    void repliesDoNotReachTheNextClient_data();
    void repliesDoNotReachTheNextClient();
    void linkPathFollowsTheDevice();
};

void TestSignSimEndToEnd::replies_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("build");

    QTest::newRow("paced") << QStringList {} << "KR4410"
                           << "5";
    QTest::newRow("unpaced CR LF, old VX903 firmware without build")
        << QStringList { "--no-pace", "--crlf", "--model", "VX903", "--build", "" } << "VX903"
        << "";
    QTest::newRow("silent") << QStringList { "--silent", "--no-pace" } << "KR4410"
                            << "5";
}

void TestSignSimEndToEnd::replies()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, model);
    QFETCH(QString, build);

    // The configuration line whole, and an idle switch with the next command right behind it.
    const QByteArray bytes = "DOWNLOAD_ALL\r<TIME>IDLE ONDOWNLOAD_DEFAULT_MSG\rTIME_STATUS\r";
    SignSimProcess sim(arguments);
    QVERIFY(sim.start());
    Client client;
    QVERIFY(client.open(sim.devicePath()));
    QVERIFY(client.send(bytes));

    // What a sign still at its factory settings answers.
    const QByteArray terminator = arguments.contains("--crlf") ? "\r\n" : "\n";
    SignInterpreter sign(model, build);
    QStringList commands;
    QByteArray expected;
    for (const QByteArray &command : CommandFramer().feed(bytes)) {
        commands += QString::fromLatin1(command);
        for (const QString &line : sign.handle(QString::fromLatin1(command).remove(u'\r')))
            expected += line.toLatin1() + terminator;
    }
    QVERIFY(expected.size() > 200);
    if (arguments.contains("--silent"))
        expected.clear();

    // Commands are logged before they are answered, and an unpaced sign has written the
    // replies to all but the last once the last is logged.
    QVERIFY(sim.waitForCommands(int(commands.size())));
    QCOMPARE(sim.receivedCommands(), commands);
    QTRY_VERIFY_WITH_TIMEOUT(client.received.size() >= expected.size(), kReplyTimeoutMs);
    constexpr int kQuietMs = 300;
    QVERIFY(!client.port.waitForReadyRead(kQuietMs));
    QCOMPARE(client.received, expected);
}

void TestSignSimEndToEnd::repliesDoNotReachTheNextClient_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("firstClientReads");

    // A reading client closes while the paced line is still going out; a client that never
    // reads closes with the whole unpaced line waiting in the device.
    QTest::newRow("paced line cut off by the close") << QStringList {} << true;
    QTest::newRow("unread reply left behind") << QStringList { "--no-pace" } << false;
}

void TestSignSimEndToEnd::repliesDoNotReachTheNextClient()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, firstClientReads);

    SignSimProcess sim(arguments);
    QVERIFY(sim.start());
    if (firstClientReads) {
        Client first;
        QVERIFY(first.open(sim.devicePath()));
        QVERIFY(first.send("DOWNLOAD_ALL\r"));
        QTRY_VERIFY_WITH_TIMEOUT(!first.received.isEmpty(), kReplyTimeoutMs);
    } else {
        QFile first(sim.devicePath());
        QVERIFY(first.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
        // The second command is logged only after the reply to the first was written.
        QCOMPARE(first.write("DOWNLOAD_ALL\rRESET\r"), 19);
        QVERIFY(sim.waitForCommands(2));
    }

    Client next;
    QVERIFY(next.open(sim.devicePath()));
    QVERIFY(next.send("<id=user>\r"));
    QTRY_VERIFY_WITH_TIMEOUT(next.received.contains('\n'), kReplyTimeoutMs);
    QCOMPARE(next.received, QByteArray("User ID\n"));
}

void TestSignSimEndToEnd::linkPathFollowsTheDevice()
{
    QTemporaryDir dir;
    const QString link = dir.filePath("sign");
    QVERIFY(QFile::link("/nonexistent/old-device", link)); // left over by an earlier run
    {
        SignSimProcess sim({ "--link", link, "--no-pace" });
        QVERIFY(sim.start());
        Client client;
        QVERIFY(client.open(link));
        QVERIFY(client.send("<id=auto>\r"));
        QTRY_COMPARE_WITH_TIMEOUT(client.received, QByteArray("Auto ID\n"), kReplyTimeoutMs);
    }
    QVERIFY(!QFileInfo(link).isSymLink()); // removed when the simulator stopped
}

QTEST_GUILESS_MAIN(TestSignSimEndToEnd)
#include "tst_signsim_e2e.moc"
