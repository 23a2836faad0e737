#include "CommandFramer.h"
#include "LogFormat.h"
#include "Misbehaviour.h"
#include "SignInterpreter.h"

#include <QTest>

using namespace tavrin::signsim;

// What the other tests rely on: the replies to the main window's commands and the command log
// that SignSimProcess parses. The configuration line is checked by the tests that read it.
class TestSignInterpreter : public QObject
{
    Q_OBJECT

private slots:
    void replies_data();
    void replies();
    void framing();
    void logLines_data();
    void logLines();
    void misbehaviour_data();
    void misbehaviour();
};

namespace {

const QStringList kError { "error" };

} // namespace

void TestSignInterpreter::replies_data()
{
    QTest::addColumn<QString>("commands"); // separated by "\r"; only the last reply is checked
    QTest::addColumn<QStringList>("expected");

    // The replies to accepted commands are walked by the integration tests; here, what a
    // sign rejects must leave it unchanged.
    QTest::newRow("capcode not digits") << "<link id=3 cap=12ab pr=2>" << kError;
    // The factory table holds four capcodes, two of them on ID 1; the line has room for 16.
    QTest::newRow("seventeen capcodes do not fit")
        << "<link id=7 cap=1,2,3,4,5,6,7,8,9,10,11,12,13 pr=0>" << kError;
    QTest::newRow("relinking an ID frees its entries")
        << "<link id=1 cap=1,2,3,4,5,6,7,8,9,10,11,12,13,14 pr=2>" << QStringList { "linked 1" };
}

void TestSignInterpreter::replies()
{
    QFETCH(QString, commands);
    QFETCH(QStringList, expected);

    SignInterpreter sign;
    QStringList before = commands.split(u'\r');
    const QString last = before.takeLast();
    for (const QString &command : std::as_const(before))
        QCOMPARE_NE(sign.handle(command), kError);
    const SignState state = sign.state();
    QCOMPARE(sign.handle(last), expected);
    if (expected == kError)
        QVERIFY2(sign.state() == state, "a rejected command changed the sign");
}

void TestSignInterpreter::framing()
{
    CommandFramer framer;
    QByteArrayList framed;
    for (const QByteArray chunk : { "DOWN", "LOAD_ALL\r<id=auto>\rRE", "SET\rRES" })
        framed += framer.feed(chunk);
    QCOMPARE(framed, QByteArrayList({ "DOWNLOAD_ALL\r", "<id=auto>\r", "RESET\r" }));
    QCOMPARE(framer.pending(), QByteArray("RES"));
    QCOMPARE(framer.feed(QByteArray(CommandFramer::kMaxCommandLength, 'x')), {});
    QCOMPARE(framer.pending(), QByteArray()); // endless input is dropped
}

void TestSignInterpreter::logLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<std::optional<QByteArray>>("command"); // none: no received command

    const auto received = [](const char *name, const QByteArray &command, const char *escaped) {
        QTest::newRow(name) << "18:30:00.000 RX " + QString(escaped) << std::optional(command);
    };
    received("blank at the end kept, line ends", "<UC>A 1 \r\n", "<UC>A 1 \\r\\n");
    received("backslash, also before r", "a\\b\\r", "a\\\\b\\\\r");
    received("control and Latin-1 bytes", QByteArray("\x00\t\x7f\xaa", 4), "\\x00\\x09\\x7F\\xAA");
    const std::optional<QByteArray> none;
    QTest::newRow("RX inside a note") << "18:30:00.123 -- RX x" << none;
}

void TestSignInterpreter::logLines()
{
    QFETCH(QString, line);
    QFETCH(std::optional<QByteArray>, command);

    QCOMPARE(parseReceivedLogLine(line), command);
    if (command)
        QCOMPARE(formatLogLine(QTime(18, 30), LogTag::Received, *command), line.toLatin1() + '\n');
}

void TestSignInterpreter::misbehaviour_data()
{
    QTest::addColumn<QStringList>("options"); // name, value, name, value, ...
    QTest::addColumn<QString>("commands"); // separated by "\r"
    QTest::addColumn<QByteArrayList>("sent"); // every reply line; "(dies)" where power fails
    QTest::addColumn<QString>("userCommand"); // what the sign holds at the end: what was applied

    // The third command is a bare "\r"; the fourth keeps the LF of a CR LF terminal.
    const QString commands = "<id=user>\r<UC>b\r\r\n<UC>c";
    const auto row = [&](const char *name, const QStringList &options, const QByteArrayList &sent,
                         const char *userCommand) {
        QTest::newRow(name) << options << commands << sent << QString(userCommand);
    };
    const QByteArray uc = "user cmd";
    row("misheard: escaped lines instead", { "answer", "4:\\x81\\xFe#:~", "answer", "4:\\\\\\x00" },
        { "User ID", uc, "\x81\xfe#:~", QByteArray("\\\0", 2) }, "b");
    row("refused by number and by text", { "refuse", "3", "refuse", "<UC>c" },
        { "User ID", uc, "error", "error" }, "b");
    row("every second answered, all applied", { "answer-every", "2", "answer", "1:x" },
        { "x", uc, uc }, "c");
    row("power fails after applying", { "die-after", "2" }, { "User ID", "(dies)" }, "b");
    QTest::newRow("configuration cut")
        << QStringList { "cut-config", "2" } << "\nDOWNLOAD_ALL"
        << QByteArrayList { "DOWNLOAD_ALLKR4410,5:69,65" } << "BRIGHT 8";
    const QByteArrayList rejected { "(rejected)" };
    row("answer without its line", { "answer", "2" }, rejected, "");
    row("escape cut short", { "answer", "1:ab\\x4" }, rejected, "");
    row("count from 1", { "refuse", "0" }, rejected, "");
    row("count not a number", { "die-after", "2x" }, rejected, "");
}

void TestSignInterpreter::misbehaviour()
{
    QFETCH(QStringList, options);
    QFETCH(QString, commands);
    QFETCH(QByteArrayList, sent);
    QFETCH(QString, userCommand);

    Misbehaviour misbehaviour;
    for (qsizetype i = 0; i + 1 < options.size(); i += 2) {
        QString error;
        if (!misbehaviour.set(options[i], options[i + 1], &error)) {
            QVERIFY(!error.isEmpty());
            QCOMPARE(sent, QByteArrayList { "(rejected)" });
            return;
        }
    }
    SignInterpreter sign;
    QByteArrayList replies;
    for (const QString &command : commands.split(u'\r')) {
        const Misbehaviour::Outcome outcome = misbehaviour.handle(sign, command.toLatin1());
        replies += outcome.replies;
        if (outcome.powerFails) {
            replies += "(dies)";
            break;
        }
    }
    QCOMPARE(replies, sent);
    QCOMPARE(sign.state().userCommand, userCommand);
}

QTEST_GUILESS_MAIN(TestSignInterpreter)
#include "tst_sign_interpreter.moc"
