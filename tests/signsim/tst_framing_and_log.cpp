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
    void escaping_data();
    void escaping();
    void receivedLogLines_data();
    void receivedLogLines();
};

using Chunks = QList<QByteArray>;

void TestFramingAndLog::framing_data()
{
    QTest::addColumn<Chunks>("chunks");
    QTest::addColumn<Chunks>("commands");
    QTest::addColumn<QByteArray>("pending");

    QTest::newRow("one command") << Chunks { "DOWNLOAD_ALL\r" } << Chunks { "DOWNLOAD_ALL\r" }
                                 << QByteArray();
    QTest::newRow("split over reads")
        << Chunks { "DOWN", "LOAD_A", "LL\r" } << Chunks { "DOWNLOAD_ALL\r" } << QByteArray();
    QTest::newRow("two in one read")
        << Chunks { "<id=auto>\rRESET\r" } << Chunks { "<id=auto>\r", "RESET\r" } << QByteArray();
    QTest::newRow("unfinished command waits")
        << Chunks { "RESET\rRES" } << Chunks { "RESET\r" } << QByteArray("RES");
    QTest::newRow("idle on, next command right behind")
        << Chunks { "<TIME>IDLE ONDOWNLOAD_DEFAULT_MSG\r" }
        << Chunks { "<TIME>IDLE ON", "DOWNLOAD_DEFAULT_MSG\r" } << QByteArray();
    QTest::newRow("idle off alone")
        << Chunks { "<TIME>IDLE OFF" } << Chunks { "<TIME>IDLE OFF" } << QByteArray();
    QTest::newRow("idle on split before its last letter")
        << Chunks { "<TIME>IDLE O", "N" } << Chunks { "<TIME>IDLE ON" } << QByteArray();
    QTest::newRow("idle prefix waits for more")
        << Chunks { "<TIME>IDLE O" } << Chunks {} << QByteArray("<TIME>IDLE O");
    QTest::newRow("idle off split after its O")
        << Chunks { "<TIME>IDLE O", "FF", "RESET\r" } << Chunks { "<TIME>IDLE OFF", "RESET\r" }
        << QByteArray();
    QTest::newRow("idle switch with a carriage return after it")
        << Chunks { "<TIME>IDLE ON\r" } << Chunks { "<TIME>IDLE ON", "\r" } << QByteArray();
    QTest::newRow("time command with attributes needs its terminator")
        << Chunks { "<TIME f=0 c=0 s=0 a=0 sp=0 p=0 fm=0>IDLE ON", "\r" }
        << Chunks { "<TIME f=0 c=0 s=0 a=0 sp=0 p=0 fm=0>IDLE ON\r" } << QByteArray();
    QTest::newRow("idle switch only counts at the start")
        << Chunks { "X<TIME>IDLE ON" } << Chunks {} << QByteArray("X<TIME>IDLE ON");
    QTest::newRow("look-alike that is no idle switch")
        << Chunks { "<TIME>IDLE OX\r" } << Chunks { "<TIME>IDLE OX\r" } << QByteArray();
    QTest::newRow("Latin-1 bytes pass")
        << Chunks { "<UC>\xaa\xff\x01\r" } << Chunks { "<UC>\xaa\xff\x01\r" } << QByteArray();
    QTest::newRow("bare carriage returns")
        << Chunks { "\r\r" } << Chunks { "\r", "\r" } << QByteArray();
    QTest::newRow("endless input is dropped")
        << Chunks { QByteArray(CommandFramer::kMaxCommandLength + 1, 'x') } << Chunks {}
        << QByteArray();
}

void TestFramingAndLog::framing()
{
    QFETCH(Chunks, chunks);
    QFETCH(Chunks, commands);
    QFETCH(QByteArray, pending);

    CommandFramer framer;
    Chunks framed;
    for (const QByteArray &chunk : std::as_const(chunks))
        framed += framer.feed(chunk);
    QCOMPARE(framed, commands);
    QCOMPARE(framer.pending(), pending);
}

void TestFramingAndLog::escaping_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("plain text") << QByteArray("<DF pr=0 f=1>") << "<DF pr=0 f=1>";
    QTest::newRow("carriage return") << QByteArray("DOWNLOAD_ALL\r") << "DOWNLOAD_ALL\\r";
    QTest::newRow("line feed") << QByteArray("done\n") << "done\\n";
    QTest::newRow("backslash") << QByteArray("a\\b") << "a\\\\b";
    QTest::newRow("backslash and r is not a CR") << QByteArray("\\r") << "\\\\r";
    QTest::newRow("control byte") << QByteArray("\x01") << "\\x01";
    QTest::newRow("NUL") << QByteArray(1, '\0') << "\\x00";
    QTest::newRow("tab") << QByteArray("\t") << "\\x09";
    QTest::newRow("DEL") << QByteArray("\x7f") << "\\x7F";
    QTest::newRow("line break of a message") << QByteArray("A\xaa"
                                                           "B")
                                             << "A\\xAAB";
    QTest::newRow("top byte") << QByteArray("\xff") << "\\xFF";
    QTest::newRow("blank at the end kept") << QByteArray("UC ") << "UC ";
}

void TestFramingAndLog::escaping()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, escaped);

    QCOMPARE(escapeLogPayload(bytes), escaped);
    QCOMPARE(unescapeLogPayload(escaped), std::optional(bytes));
}

void TestFramingAndLog::receivedLogLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<std::optional<QByteArray>>("command");

    QTest::newRow("command") << "18:30:00.123 RX DOWNLOAD_ALL\\r"
                             << std::optional<QByteArray>("DOWNLOAD_ALL\r");
    QTest::newRow("idle switch without CR")
        << "00:00:00.000 RX <TIME>IDLE ON" << std::optional<QByteArray>("<TIME>IDLE ON");
    QTest::newRow("bare CR") << "23:59:59.999 RX \\r" << std::optional<QByteArray>("\r");
    QTest::newRow("reply is no command") << "18:30:00.123 TX done\\n"
                                         << std::optional<QByteArray>();
    QTest::newRow("note is no command")
        << "18:30:00.123 -- port opened" << std::optional<QByteArray>();
    QTest::newRow("RX inside a note") << "18:30:00.123 -- RX x" << std::optional<QByteArray>();
    QTest::newRow("broken escape") << "18:30:00.123 RX a\\q" << std::optional<QByteArray>();
    QTest::newRow("short hex escape") << "18:30:00.123 RX a\\x4" << std::optional<QByteArray>();
    QTest::newRow("lower-case hex is not ours")
        << "18:30:00.123 RX \\xaa" << std::optional<QByteArray>();
    QTest::newRow("trailing backslash") << "18:30:00.123 RX a\\" << std::optional<QByteArray>();
}

void TestFramingAndLog::receivedLogLines()
{
    QFETCH(QString, line);
    QFETCH(std::optional<QByteArray>, command);

    QCOMPARE(parseReceivedLogLine(line), command);
    if (command) {
        const QByteArray formatted = formatLogLine(QTime(18, 30), LogTag::Received, *command);
        QCOMPARE(parseReceivedLogLine(QString::fromLatin1(formatted.chopped(1))), command);
    }
}

QTEST_GUILESS_MAIN(TestFramingAndLog)
#include "tst_framing_and_log.moc"
