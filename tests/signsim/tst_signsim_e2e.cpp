#include "CommandFramer.h"
#include "SignInterpreter.h"
#include "SignSimProcess.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace tavrin::signsim;

namespace {

constexpr int kReplyTimeoutMs = 5000;

// A client as the program opens it: 9600 baud, 8 data bits, no parity, one stop bit.
struct Client
{
    QSerialPort port;
    QByteArray received;

    bool open(const QString &device)
    {
        port.setPortName(device);
        port.setBaudRate(QSerialPort::Baud9600);
        port.setDataBits(QSerialPort::Data8);
        port.setParity(QSerialPort::NoParity);
        port.setStopBits(QSerialPort::OneStop);
        QObject::connect(&port, &QSerialPort::readyRead, &port,
                         [this] { received += port.readAll(); });
        return port.open(QIODevice::ReadWrite);
    }
    bool send(const QByteArray &bytes) { return port.write(bytes) == bytes.size() && port.flush(); }
};

// What a sign that is still at its factory settings answers to these bytes.
QByteArray expectedReplies(const QString &model, const QString &build, const QByteArray &bytes,
                           const QByteArray &terminator)
{
    SignInterpreter sign(model, build);
    CommandFramer framer;
    QByteArray replies;
    for (QByteArray command : framer.feed(bytes)) {
        if (command.endsWith('\r'))
            command.chop(1);
        for (const QString &line : sign.handle(QString::fromLatin1(command)))
            replies += line.toLatin1() + terminator;
    }
    return replies;
}

} // namespace

class TestSignSimEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void replies_data();
    void replies();
    void repliesDoNotReachTheNextClient_data();
    void repliesDoNotReachTheNextClient();
    void linkPathFollowsTheDevice();
    void silentSignAnswersNothing_data();
    void silentSignAnswersNothing();
};

void TestSignSimEndToEnd::initTestCase()
{
    isolateSerialPorts();
}

void TestSignSimEndToEnd::replies_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("build");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("terminator");
    QTest::addColumn<QStringList>("commands");

    QTest::newRow("paced configuration line")
        << QStringList {} << "KR4410"
        << "5" << QByteArray("DOWNLOAD_ALL\r") << QByteArray("\n")
        << QStringList { "DOWNLOAD_ALL\r" };
    QTest::newRow("old VX903 firmware without build")
        << QStringList { "--model", "VX903", "--build", "" } << "VX903"
        << "" << QByteArray("DOWNLOAD_ALL\r") << QByteArray("\n")
        << QStringList { "DOWNLOAD_ALL\r" };
    QTest::newRow("unpaced with CR LF")
        << QStringList { "--no-pace", "--crlf", "--model", "led sign 9" } << "led sign 9"
        << "5" << QByteArray("DOWNLOAD_ALL\r<id=user>\r") << QByteArray("\r\n")
        << QStringList { "DOWNLOAD_ALL\r", "<id=user>\r" };
    QTest::newRow("idle switch with the download right behind")
        << QStringList {} << "KR4410"
        << "5" << QByteArray("<TIME>IDLE ONDOWNLOAD_DEFAULT_MSG\rTIME_STATUS\r") << QByteArray("\n")
        << QStringList { "<TIME>IDLE ON", "DOWNLOAD_DEFAULT_MSG\r", "TIME_STATUS\r" };
}

void TestSignSimEndToEnd::replies()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, model);
    QFETCH(QString, build);
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, terminator);
    QFETCH(QStringList, commands);

    SignSimProcess sim(arguments);
    QVERIFY(sim.start());
    Client client;
    QVERIFY2(client.open(sim.devicePath()), qPrintable(client.port.errorString()));
    QVERIFY(client.send(bytes));

    const QByteArray expected = expectedReplies(model, build, bytes, terminator);
    QVERIFY(expected.size() > 20);
    QTRY_VERIFY_WITH_TIMEOUT(client.received.size() >= expected.size(), kReplyTimeoutMs);
    QCOMPARE(client.received, expected);
    QVERIFY(sim.waitForCommands(int(commands.size())));
    QCOMPARE(sim.receivedCommands(), commands);
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
        QVERIFY2(first.open(sim.devicePath()), qPrintable(first.port.errorString()));
        QVERIFY(first.send("DOWNLOAD_ALL\r"));
        QTRY_VERIFY_WITH_TIMEOUT(!first.received.isEmpty(), kReplyTimeoutMs);
    } else {
        QFile first(sim.devicePath());
        QVERIFY(first.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
        // The second command is logged only after the reply to the first was written.
        const QByteArray commands = "DOWNLOAD_ALL\rRESET\r";
        QCOMPARE(first.write(commands), commands.size());
        QVERIFY(sim.waitForCommands(2));
    }

    Client next;
    QVERIFY2(next.open(sim.devicePath()), qPrintable(next.port.errorString()));
    QVERIFY(next.send("<id=user>\r"));
    QTRY_VERIFY_WITH_TIMEOUT(next.received.contains('\n'), kReplyTimeoutMs);
    QCOMPARE(next.received, QByteArray("User ID\n"));
}

void TestSignSimEndToEnd::linkPathFollowsTheDevice()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString link = dir.filePath("sign");
    QVERIFY(QFile::link("/nonexistent/old-device", link)); // left over by an earlier run

    {
        SignSimProcess sim({ "--link", link, "--no-pace" });
        QVERIFY(sim.start());
        QCOMPARE(QFileInfo(link).symLinkTarget(), sim.devicePath());

        Client client;
        QVERIFY2(client.open(link), qPrintable(client.port.errorString()));
        QVERIFY(client.send("<id=auto>\r"));
        QTRY_COMPARE_WITH_TIMEOUT(client.received, QByteArray("Auto ID\n"), kReplyTimeoutMs);
        sim.stop();
    }
    QVERIFY(!QFileInfo(link).isSymLink());
}

void TestSignSimEndToEnd::silentSignAnswersNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("answers");

    // The answering row proves the check below would see a reply.
    QTest::newRow("silent") << QStringList { "--silent", "--no-pace" } << false;
    QTest::newRow("answering") << QStringList { "--no-pace" } << true;
}

void TestSignSimEndToEnd::silentSignAnswersNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, answers);

    SignSimProcess sim(arguments);
    QVERIFY(sim.start());
    Client client;
    QVERIFY2(client.open(sim.devicePath()), qPrintable(client.port.errorString()));
    QVERIFY(client.send("<id=auto>\rRESET\r"));
    // Both commands logged: an unpaced sign has written the first reply by now.
    QVERIFY(sim.waitForCommands(2));
    QCOMPARE(sim.receivedCommands(), QStringList({ "<id=auto>\r", "RESET\r" }));
    constexpr int kQuietMs = 300;
    QCOMPARE(client.port.waitForReadyRead(kQuietMs) || !client.received.isEmpty(), answers);
}

QTEST_GUILESS_MAIN(TestSignSimEndToEnd)
#include "tst_signsim_e2e.moc"
