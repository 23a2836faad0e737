#include "SignInterpreter.h"
#include "SignSimProcess.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSerialPort>
#include <QTemporaryFile>
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
            return port.clear(QSerialPort::Input); // as the program's link does
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
    void pacedReplies();
    void repliesDoNotReachTheNextClient_data();
    void repliesDoNotReachTheNextClient();
    void startsFromSavedConfiguration();
};

// Other tests rely on the sign's real pace and on commands being logged before their reply.
void TestSignSimEndToEnd::pacedReplies()
{
    SignSimProcess sim;
    QVERIFY(sim.start());
    Client client;
    QVERIFY(client.open(sim.devicePath()));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(client.send("DOWNLOAD_ALL\r<id=user>\r"));
    const QByteArray expected
        = SignInterpreter().handle("DOWNLOAD_ALL").first().toLatin1() + "\nUser ID\n";

    QVERIFY(sim.waitForCommands(2));
    QCOMPARE(sim.receivedCommands(), QStringList({ "DOWNLOAD_ALL\r", "<id=user>\r" }));
    QTRY_VERIFY_WITH_TIMEOUT(client.received.size() >= expected.size(), kReplyTimeoutMs);
    constexpr int kCharactersPerSecond = 960; // 9600 baud, 10 bits a character
    QVERIFY(clock.elapsed() >= expected.size() * 1000 / kCharactersPerSecond - 20);
    QVERIFY(!client.port.waitForReadyRead(300));
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

// Two nine-digit capcodes on every link ID of a saved file: all sixteen of the sign's entries.
void TestSignSimEndToEnd::startsFromSavedConfiguration()
{
    QTemporaryFile file;
    QVERIFY(file.open());
    QStringList links; // every capcode an entry of its own, as a real sign sends them
    for (int id = 0; id < 8; ++id) {
        const QString first = QString::number(100000001 + 2 * id), pr = QString::number(id % 5);
        const QString second = QString::number(100000002 + 2 * id), n = QString::number(id);
        file.write(QStringLiteral("LinkID%1:%2,%3,%4\r\n").arg(n, first, second, pr).toLatin1());
        links << n << first << pr << n << second << pr;
    }
    file.close();
    SignSimProcess sim({ "--no-pace", "--model", "VX903", "--config", file.fileName() });
    QVERIFY(sim.start());
    Client client;
    QVERIFY(client.open(sim.devicePath()));
    QVERIFY(client.send("DOWNLOAD_ALL\r"));
    QTRY_VERIFY_WITH_TIMEOUT(client.received.endsWith('\n'), kReplyTimeoutMs);

    // The file holds no rows, so they stay the factory's.
    const QString factory = SignInterpreter("VX903").handle("DOWNLOAD_ALL").first();
    const QStringList fields = QString::fromLatin1(client.received.chopped(1)).split(u',');
    QCOMPARE(fields.mid(0, 41), factory.split(u',').mid(0, 41));
    QCOMPARE(fields.mid(41, 48), links);

    SignSimProcess unreadable({ "--config", "/nonexistent/sign.led" });
    QVERIFY(!unreadable.start());
}

QTEST_GUILESS_MAIN(TestSignSimEndToEnd)
#include "tst_signsim_e2e.moc"
