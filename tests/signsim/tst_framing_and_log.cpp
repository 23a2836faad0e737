#include "CommandFramer.h"
#include "LogFormat.h"

#include <QTest>

using namespace tavrin::signsim;

class TestFramingAndLog : public QObject
{
    Q_OBJECT

private slots:
    void framing_data();
    void framing();
    void logLines_data();
    void logLines();
};

namespace {

// Chunks as received are separated by "|", and so are the commands framed from them.
void frame(const char *name, QByteArray chunks, QByteArray commands, QByteArray pending = {})
{
    QTest::newRow(name) << chunks.split('|')
                        << (commands.isEmpty() ? QByteArrayList {} : commands.split('|'))
                        << pending;
}

} // namespace

void TestFramingAndLog::framing_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArrayList>("commands");
    QTest::addColumn<QByteArray>("pending");

    frame("split over reads", "DOWN|LOAD_A|LL\r", "DOWNLOAD_ALL\r");
    frame("two in one read, the unfinished one waits", "<id=auto>\rRESET\rRES",
          "<id=auto>\r|RESET\r", "RES");
    frame("idle on, next command right behind", "<TIME>IDLE ONDOWNLOAD_DEFAULT_MSG\r",
          "<TIME>IDLE ON|DOWNLOAD_DEFAULT_MSG\r");
    frame("idle off split after its O", "<TIME>IDLE O|FF|RESET\r", "<TIME>IDLE OFF|RESET\r");
    frame("idle switch with a carriage return after it", "<TIME>IDLE ON\r", "<TIME>IDLE ON|\r");
    frame("time command with attributes needs its terminator", "<TIME fm=0>IDLE ON|\r",
          "<TIME fm=0>IDLE ON\r");
    frame("idle switch only counts at the start", "X<TIME>IDLE ON", "", "X<TIME>IDLE ON");
    frame("look-alike that is no idle switch", "<TIME>IDLE OX\r", "<TIME>IDLE OX\r");
    frame("bare CR and Latin-1 bytes pass", "\r<UC>\xaa\xff\x01\r", "\r|<UC>\xaa\xff\x01\r");
    frame("endless input is dropped", QByteArray(CommandFramer::kMaxCommandLength + 1, 'x'), "");
}

void TestFramingAndLog::framing()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArrayList, commands);
    QFETCH(QByteArray, pending);

    CommandFramer framer;
    QByteArrayList framed;
    for (const QByteArray &chunk : std::as_const(chunks))
        framed += framer.feed(chunk);
    QCOMPARE(framed, commands);
    QCOMPARE(framer.pending(), pending);
}

void TestFramingAndLog::logLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<std::optional<QByteArray>>("command"); // none: no received command

    const auto received = [](const char *name, const QByteArray &command, const char *escaped) {
        QTest::newRow(name) << "18:30:00.000 RX " + QString(escaped) << std::optional(command);
    };
    received("plain text, blank at the end kept", "<UC>A 1 ", "<UC>A 1 ");
    received("line ends", "done\r\n", "done\\r\\n");
    received("backslash, also before r", "a\\b\\r", "a\\\\b\\\\r");
    received("control bytes and DEL", QByteArray("\x00\x01\t\x7f", 4), "\\x00\\x01\\x09\\x7F");
    received("Latin-1 bytes", "\xaa\xff", "\\xAA\\xFF");

    const std::optional<QByteArray> none;
    QTest::newRow("reply is no command") << "18:30:00.123 TX done\\n" << none;
    QTest::newRow("RX inside a note") << "18:30:00.123 -- RX x" << none;
    QTest::newRow("unknown escape") << "18:30:00.123 RX a\\q" << none;
    QTest::newRow("short hex escape") << "18:30:00.123 RX a\\x4" << none;
    QTest::newRow("trailing backslash") << "18:30:00.123 RX a\\" << none;
}

void TestFramingAndLog::logLines()
{
    QFETCH(QString, line);
    QFETCH(std::optional<QByteArray>, command);

    QCOMPARE(parseReceivedLogLine(line), command);
    if (command)
        QCOMPARE(formatLogLine(QTime(18, 30), LogTag::Received, *command), line.toLatin1() + '\n');
}

QTEST_GUILESS_MAIN(TestFramingAndLog)
#include "tst_framing_and_log.moc"
