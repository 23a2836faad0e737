#include "PortMap.h"
#include "SerialLink.h"
#include "SignSimProcess.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QSocketNotifier>
#include <QTest>

#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

using namespace tavrin::link;

static constexpr int kSignPort = 3;

static void pointPortAt(int portNumber, const QString &device)
{
    qputenv(qPrintable(QStringLiteral("TAVRIN_COM%1").arg(portNumber)), device.toLocal8Bit());
}

// A pseudo-terminal standing in for "COM k": the link opens the slave as its serial device and
// the test plays the sign on the master.
class PtyPair
{
public:
    explicit PtyPair(int portNumber)
    {
        m_master = posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0
            || !ptsname(m_master)) {
            ::close(m_master);
            m_master = -1;
            return;
        }
        fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
        pointPortAt(portNumber, QString::fromLocal8Bit(ptsname(m_master)));
    }
    ~PtyPair() { ::close(m_master); }
    PtyPair(const PtyPair &) = delete;
    PtyPair &operator=(const PtyPair &) = delete;

    bool isValid() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    bool write(const QByteArray &bytes)
    {
        return ::write(m_master, bytes.data(), bytes.size()) == bytes.size();
    }
    // Everything the link has sent so far.
    QByteArray received()
    {
        char buffer[256];
        for (ssize_t n; m_master >= 0 && (n = ::read(m_master, buffer, sizeof buffer)) > 0;)
            m_received.append(buffer, n);
        return m_received;
    }

private:
    int m_master = -1;
    QByteArray m_received;
};

class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { isolateSerialPorts(); } // no test may reach a real serial port
    void talksToTheSign();
    void openFailures();
    void secondOpenLeavesPortAlone();
    void bytesTakenByAnotherReader();
};

// The whole conversation on one line: 9600 8N1, commands out as Latin-1, reply lines back.
void TestSerialLink::talksToTheSign()
{
    PtyPair pty(kSignPort);
    SerialLink link;
    QVERIFY(pty.isValid());
    const OpenResult result = link.open(kSignPort);
    QVERIFY2(result.ok(), qPrintable(result.description));
    termios settings {};
    QCOMPARE(tcgetattr(pty.masterFd(), &settings), 0);
    QCOMPARE(cfgetospeed(&settings), speed_t(B9600));
    QCOMPARE(settings.c_cflag & (CSIZE | PARENB | CSTOPB), tcflag_t(CS8));

    QVERIFY(link.write("DOWNLOAD_ALL\r"));
    QVERIFY(link.write(QStringLiteral("<DF>\u00aa\r")));
    QTRY_COMPARE(pty.received(), QByteArray("DOWNLOAD_ALL\r<DF>\xaa\r"));

    QStringList lines;
    connect(&link, &SerialLink::lineReceived, this, [&lines](const QString &l) { lines << l; });
    // One receive event per write, so the first line is joined across events; nothing is
    // trimmed.
    for (const QByteArray &bytes : { QByteArray(" Auto"), QByteArray(" ID \r\n\nDOWN") }) {
        QVERIFY(pty.write(bytes));
        QTRY_COMPARE(link.lastChunk(), QString::fromLatin1(bytes));
    }
    QCOMPARE(lines, (QStringList { " Auto ID \r", "" }));

    // "DOWN" is never finished: the timer drops it, no sooner than eleven 10 ms ticks.
    QElapsedTimer silence;
    silence.start();
    QVERIFY(link.isCollecting());
    QTRY_VERIFY(!link.isCollecting());
    QVERIFY2(silence.elapsed() >= 100, qPrintable(QString::number(silence.elapsed())));
    QVERIFY(pty.write("LOAD\n"));
    QTRY_COMPARE(lines, (QStringList { " Auto ID \r", "", "LOAD" }));
}

void TestSerialLink::openFailures()
{
    SerialLink link;
    pointPortAt(kSignPort, QString());
    const OpenResult none = link.open(kSignPort);
    QCOMPARE(none.error, OpenError::NotFound);
    QCOMPARE(none.description, "no serial device for COM 3");
    // An error we have no words of our own for keeps the serial layer's text, with no hint.
    QCOMPARE(openFailure(QSerialPort::UnsupportedOperationError, "Serial text", "/dev/x", false)
                 .fullText(),
             "Serial text");
}

// Neither opening another port on a busy link nor a second link on a held device may disturb
// the open one.
void TestSerialLink::secondOpenLeavesPortAlone()
{
    PtyPair pty(kSignPort);
    PtyPair other(kSignPort + 1);
    SerialLink link;
    QVERIFY(pty.isValid() && other.isValid() && link.open(kSignPort).ok());

    QCOMPARE(link.open(kSignPort + 1).error, OpenError::AlreadyOpen);
    QCOMPARE(link.portNumber(), kSignPort);
    QVERIFY(!SerialLink().open(kSignPort)); // what it says: the fault tests

    QVERIFY(link.write("RESET\r"));
    QTRY_COMPARE(pty.received(), QByteArray("RESET\r"));
    QCOMPARE(other.received(), QByteArray());
}

// Another program reading the same device takes the bytes before the link can: the link's read
// then finds nothing, which is no reason to give up the line.
void TestSerialLink::bytesTakenByAnotherReader()
{
    PtyPair pty(kSignPort);
    QVERIFY(pty.isValid());
    const int thief = ::open(qgetenv("TAVRIN_COM3").constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(thief >= 0);
    QByteArray stolen;
    // Registered before the link's own notifier, so it reads first when both are woken.
    auto notifier = std::make_unique<QSocketNotifier>(thief, QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, [&] {
        char buffer[64];
        for (ssize_t n; (n = ::read(thief, buffer, sizeof buffer)) > 0;)
            stolen.append(buffer, n);
    });
    SerialLink link;
    QVERIFY(link.open(kSignPort).ok());
    QSignalSpy lost(&link, &SerialLink::linkLost);
    QSignalSpy lines(&link, &SerialLink::lineReceived);
    for (int burst = 0; burst < 5; ++burst) {
        QVERIFY(pty.write("taken\n"));
        QTRY_COMPARE(stolen.size(), 6 * (burst + 1));
    }
    notifier.reset();
    ::close(thief);

    QVERIFY(pty.write("kept\n"));
    QVERIFY(lines.wait());
    QCOMPARE(lines.last().first().toString(), QStringLiteral("kept"));
    QVERIFY(lost.isEmpty() && link.isOpen());
}

QTEST_GUILESS_MAIN(TestSerialLink)
#include "tst_serial_link.moc"
