#include "PtyPair.h"

#include "link/PortMap.h"
#include "link/SerialLink.h"
#include "link/Sleep.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <termios.h>

using namespace tavrin::link;

static constexpr int kSignPort = 3;

class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void opensAtLineSettingsAndWrites();
    void receivesLines_data();
    void receivesLines();
    void dropsIdleLineOnTimer();
    void lineArrivingWhileHandlerSleeps();
    void openFailures_data();
    void openFailures();
    void permissionDenied();
    void openWhileOpenKeepsPort();
    void deviceHeldElsewhereIsInUse();
    void linkLostWhenDeviceVanishes();

private:
    static void pointPortAt(int portNumber, const QString &device)
    {
        qputenv(qPrintable(QStringLiteral("TAVRIN_COM%1").arg(portNumber)), device.toLocal8Bit());
    }
};

void TestSerialLink::initTestCase()
{
    for (int k = kFirstPortNumber; k <= kLastPortNumber; ++k)
        pointPortAt(k, QStringLiteral("/nonexistent/tavrin-test/com%1").arg(k));
}

void TestSerialLink::init()
{
    pointPortAt(kSignPort, QStringLiteral("/nonexistent/tavrin-test/com%1").arg(kSignPort));
}

void TestSerialLink::opensAtLineSettingsAndWrites()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    pointPortAt(kSignPort, pty.slaveName());

    SerialLink link;
    QVERIFY(!link.write(QStringLiteral("early")));
    const OpenResult result = link.open(kSignPort);
    QVERIFY2(result.ok(), qPrintable(result.description));
    QVERIFY(link.isOpen());
    QCOMPARE(link.portNumber(), kSignPort);

    termios settings {};
    QCOMPARE(tcgetattr(pty.masterFd(), &settings), 0);
    QCOMPARE(cfgetospeed(&settings), speed_t(B9600));
    QCOMPARE(settings.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(settings.c_cflag & (PARENB | CSTOPB), tcflag_t(0));

    QVERIFY(link.write(QStringLiteral("DOWNLOAD_ALL\r")));
    QVERIFY(link.write(QStringLiteral("<DF>\u00aa\r")));
    QTRY_COMPARE(pty.received(), QByteArray("DOWNLOAD_ALL\r<DF>\xaa\r"));

    link.close();
    QVERIFY(!link.isOpen());
    QVERIFY(!link.write(QStringLiteral("late")));
    link.close(); // closing twice is harmless
}

void TestSerialLink::receivesLines_data()
{
    QTest::addColumn<QByteArrayList>("writes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("reply split over writes is joined")
        << QByteArrayList { "Auto", " I", "D\n" } << QStringList { "Auto ID" };
    QTest::newRow("line feed inside a burst")
        << QByteArrayList { "done\nuser cmd\n" } << QStringList { "done", "user cmd" };
    QTest::newRow("carriage return kept, empty line delivered")
        << QByteArrayList { "done\r\n", "\n" } << QStringList { "done\r", "" };
}

void TestSerialLink::receivesLines()
{
    QFETCH(QByteArrayList, writes);
    QFETCH(QStringList, lines);

    PtyPair pty;
    QVERIFY(pty.isValid());
    pointPortAt(kSignPort, pty.slaveName());
    SerialLink link;
    QVERIFY(link.open(kSignPort).ok());
    QSignalSpy spy(&link, &SerialLink::lineReceived);

    for (const QByteArray &bytes : writes) {
        QVERIFY(pty.write(bytes));
        // One receive event per write: wait until the link has taken these bytes.
        QTRY_COMPARE(link.lastChunk(), QString::fromLatin1(bytes));
    }
    QStringList received;
    for (const QList<QVariant> &arguments : std::as_const(spy))
        received << arguments.at(0).toString();
    QCOMPARE(received, lines);
}

void TestSerialLink::dropsIdleLineOnTimer()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    pointPortAt(kSignPort, pty.slaveName());
    SerialLink link;
    QVERIFY(link.open(kSignPort).ok());
    QSignalSpy spy(&link, &SerialLink::lineReceived);

    QVERIFY(pty.write("DOWN"));
    QTRY_COMPARE(link.replyLine(), QStringLiteral("DOWN"));
    QElapsedTimer silence;
    silence.start();
    QVERIFY(link.isCollecting());
    QTRY_VERIFY(!link.isCollecting());
    QVERIFY2(silence.elapsed() >= 100, qPrintable(QString::number(silence.elapsed())));
    QCOMPARE(link.replyLine(), QString());

    QVERIFY(pty.write("LOAD\n"));
    QVERIFY(spy.wait());
    QCOMPARE(spy.size(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("LOAD"));
}

// A handler that waits in sleepTicks while the sign goes on sending: lines stay in order and
// none is left stuck in the port's buffer.
void TestSerialLink::lineArrivingWhileHandlerSleeps()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    pointPortAt(kSignPort, pty.slaveName());
    SerialLink link;
    QVERIFY(link.open(kSignPort).ok());

    QStringList received;
    connect(&link, &SerialLink::lineReceived, this, [&](const QString &line) {
        received << line;
        if (line == QLatin1String("first")) {
            pty.write("third\n");
            sleepTicks(30);
        }
    });
    QVERIFY(pty.write("first\nsecond\n"));
    QTRY_COMPARE(received, (QStringList { "first", "second", "third" }));
}

void TestSerialLink::openFailures_data()
{
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<QString>("description"); // empty: the serial layer's own text

    QTest::newRow("missing device path")
        << QByteArray("/nonexistent/tavrin-test/sign") << QString();
    QTest::newRow("no device for the port")
        << QByteArray() << QStringLiteral("no serial device for COM 3");
}

void TestSerialLink::openFailures()
{
    QFETCH(QByteArray, device);
    QFETCH(QString, description);

    pointPortAt(kSignPort, QString::fromLocal8Bit(device));
    SerialLink link;
    const OpenResult result = link.open(kSignPort);
    QVERIFY(!result.ok());
    QCOMPARE(result.error, OpenError::NotFound);
    QVERIFY(!result.description.isEmpty());
    if (!description.isEmpty())
        QCOMPARE(result.description, description);
    QVERIFY(!link.isOpen());
    QCOMPARE(link.portNumber(), kSignPort);
}

void TestSerialLink::permissionDenied()
{
    if (geteuid() == 0)
        QSKIP("root may open any device");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("locked"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QVERIFY(file.setPermissions({}));
    pointPortAt(kSignPort, path);

    SerialLink link;
    const OpenResult result = link.open(kSignPort);
    QCOMPARE(result.error, OpenError::PermissionDenied);
    QVERIFY2(result.description.contains(path), qPrintable(result.description));
}

void TestSerialLink::openWhileOpenKeepsPort()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    pointPortAt(kSignPort, pty.slaveName());
    PtyPair other;
    QVERIFY(other.isValid());
    pointPortAt(kSignPort + 1, other.slaveName());

    SerialLink link;
    QVERIFY(link.open(kSignPort).ok());
    const OpenResult again = link.open(kSignPort + 1);
    QCOMPARE(again.error, OpenError::AlreadyOpen);
    QVERIFY(!again.description.isEmpty());
    QVERIFY(link.isOpen());
    QCOMPARE(link.portNumber(), kSignPort);

    QVERIFY(link.write(QStringLiteral("RESET\r")));
    QTRY_COMPARE(pty.received(), QByteArray("RESET\r"));
    QCOMPARE(other.received(), QByteArray());
}

void TestSerialLink::deviceHeldElsewhereIsInUse()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    pointPortAt(kSignPort, pty.slaveName());
    SerialLink holder;
    QVERIFY(holder.open(kSignPort).ok());

    SerialLink second;
    const OpenResult result = second.open(kSignPort);
    QCOMPARE(result.error, OpenError::InUse);
    QVERIFY(!result.description.isEmpty());
    QVERIFY(!result.description.contains(QStringLiteral("dialout")));
    QVERIFY(holder.isOpen());
}

void TestSerialLink::linkLostWhenDeviceVanishes()
{
    PtyPair pty;
    QVERIFY(pty.isValid());
    pointPortAt(kSignPort, pty.slaveName());
    SerialLink link;
    QVERIFY(link.open(kSignPort).ok());
    QSignalSpy lost(&link, &SerialLink::linkLost);
    QSignalSpy lines(&link, &SerialLink::lineReceived);

    QVERIFY(pty.write("done\n"));
    QVERIFY(lines.wait());
    pty.closeMaster();
    QVERIFY(lost.wait());
    QCOMPARE(lost.size(), 1);
    QVERIFY(!lost.at(0).at(0).toString().isEmpty());
    QVERIFY(!link.isOpen());
    QVERIFY(!lost.wait(300)); // no second report, no error storm
    QVERIFY(!link.write(QStringLiteral("RESET\r")));

    // The link is usable again on a new device, and reports a second loss as well.
    PtyPair replacement;
    QVERIFY(replacement.isValid());
    pointPortAt(kSignPort, replacement.slaveName());
    QVERIFY(link.open(kSignPort).ok());
    replacement.closeMaster();
    QVERIFY(lost.wait());
    QCOMPARE(lost.size(), 2);
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_serial_link.moc"
