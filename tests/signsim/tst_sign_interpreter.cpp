#include "SignInterpreter.h"

#include <QRegularExpression>
#include <QTest>

using namespace tavrin::signsim;

namespace {

const QStringList kDone { "done" };
const QStringList kError { "error" };

// The commands are separated by "\r"; only the last one's reply is checked.
void row(const char *name, const char *commands, const QStringList &expected,
         const char *model = "KR4410")
{
    QTest::newRow(name) << QString::fromLatin1(commands) << expected << QString(model);
}

} // namespace

class TestSignInterpreter : public QObject
{
    Q_OBJECT

private slots:
    void replies_data();
    void replies();
    void configurationLine_data();
    void configurationLine();
    void factoryRecordsSuitTheClient();
    void factoryDefaultsUndoEverything();
    void clockFollowsTheSetTime();
};

void TestSignInterpreter::replies_data()
{
    QTest::addColumn<QString>("commands");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("model");

    row("auto ID", "<id=auto>", { "Auto ID" });
    row("user ID", "<id=user>", { "User ID" });
    row("user command", "<UC>HELLO", { "user cmd" });
    row("priority row, highest codes", "<DF pr=4 f=24 c=12 s=27 a=2 sp=4 p=9 b=2 t=32767>", kDone);
    row("priority row, lowest codes", "<DF pr=0 f=0 c=0 s=0 a=0 sp=0 p=0 b=0 t=0>", kDone);
    row("priority 5 does not exist", "<DF pr=5 f=3 c=1 s=0 a=0 sp=0 p=0 b=0 t=30>", kError);
    row("font past the list", "<DF pr=0 f=25 c=1 s=0 a=0 sp=0 p=0 b=0 t=30>", kError);
    row("timeout past 16 bits", "<DF pr=0 f=3 c=1 s=0 a=0 sp=0 p=0 b=0 t=32768>", kError);
    row("negative code", "<DF pr=0 f=-1 c=1 s=0 a=0 sp=0 p=0 b=0 t=30>", kError);
    row("beep missing", "<DF pr=0 f=3 c=1 s=0 a=0 sp=0 p=0 t=30>", kError);
    row("attribute twice", "<DF pr=0 f=3 f=3 c=1 s=0 a=0 sp=0 p=0 b=0 t=30>", kError);
    row("link", "<link id=3 cap=123456 pr=2>", { "linked 3" });
    row("unlink", "<link id=3 cap=0>", { "delinked" });
    row("link ID 8", "<link id=8 cap=123456 pr=2>", kError);
    row("capcode not digits", "<link id=3 cap=12ab pr=2>", kError);
    row("capcode all zeros", "<link id=3 cap=000 pr=2>", kError);
    row("link without priority", "<link id=3 cap=123456>", kError);
    // The factory table holds four capcodes, two of them on ID 1; the line has room for 16.
    row("sixteen capcodes fit", "<link id=7 cap=1,2,3,4,5,6,7,8,9,10,11,12 pr=0>", { "linked 7" });
    row("seventeen do not", "<link id=7 cap=1,2,3,4,5,6,7,8,9,10,11,12,13 pr=0>", kError);
    row("relinking an ID frees its entries",
        "<link id=1 cap=1,2,3,4,5,6,7,8,9,10,11,12,13,14 pr=2>", { "linked 1" });
    row("factory defaults", "<FD>", kDone);
    row("default message", "<DF f=0 c=3 s=0 a=2 sp=2 p=3>HELLO", { "default msg" });
    row("default message bad pause", "<DF f=0 c=0 s=0 a=0 sp=0 p=10>X", kError);
    row("delete default message", "<del id=def>", { "default deleted" });
    row("time display", "<TIME f=0 c=3 s=0 a=0 sp=2 p=3 fm=7>IDLE ON", kDone);
    row("time display other body", "<TIME f=0 c=3 s=0 a=0 sp=2 p=3 fm=0>IDLE OFF", kError);
    row("idle on answers nothing", "<TIME>IDLE ON", {});
    row("idle off answers nothing", "<TIME>IDLE OFF", {});
    row("bare carriage return", "", {});
    row("reset", "RESET", { "reset" });
    row("line feed left by a CR LF terminal", "\nRESET", { "reset" });
    row("clock", "<Time time=18:30:05 date=2024/05/01-3>SET TIME", { "SET TIME OK" });
    row("clock 30 February", "<Time time=18:30:05 date=2024/02/30-5>SET TIME", kError);
    row("clock weekday 7", "<Time time=18:30:05 date=2024/05/01-7>SET TIME", kError);
    row("test message", "<id=3 f=5 s=0 c=3 a=0 b=1 p=3 sp=2 t=10>$FAHi$CB$T0$L", kDone);
    row("test message ID 8", "<id=8 f=5 s=0 c=3 a=0 b=1 p=3 sp=2 t=10>Hi", kError);
    row("commands are case-sensitive", "download_all", kError);
    row("unclosed tag", "<id=auto", kError);

    row("time status: factory off", "TIME_STATUS", { "TIME:STATUS:0" });
    row("time status: idle on then off", "<TIME>IDLE ON\r<TIME>IDLE OFF\rTIME_STATUS",
        { "TIME:STATUS:0" });
    row("time status: time command switches on",
        "<TIME f=0 c=3 s=0 a=0 sp=2 p=3 fm=1>IDLE ON\rTIME_STATUS", { "TIME:STATUS:1" });
    row("time status: reset keeps it", "<TIME>IDLE ON\rRESET\rTIME_STATUS", { "TIME:STATUS:1" });

    // Font, style, colour, speed, alignment, pause, two unused, text; only the KR4410 sends
    // this record as character codes.
    const char *upload = "<DF f=1 c=2 s=3 a=1 sp=4 p=5>A$L.$T0$T7\rDOWNLOAD_DEFAULT_MSG";
    row("record: KR4410 character codes", upload,
        { QString::fromLatin1("KR4410:65,68,67,52,50,53,0,0,A\xaa.\xab\xb2") });
    row("record: TM207 plain", upload,
        { QString::fromLatin1("TM207:1,3,2,4,1,5,0,0,A\xaa.\xab\xb2") }, "TM207");
    row("record: no time code, separators kept",
        "<DF f=0 c=0 s=0 a=0 sp=0 p=0>$T8 $X $ a,b:c\rDOWNLOAD_DEFAULT_MSG",
        { "other:0,0,0,0,0,0,0,0,$T8 $X $ a,b:c" }, "other");
    row("record: deleted message keeps its codes",
        "<DF f=1 c=2 s=3 a=1 sp=4 p=5>A\r<del id=def>\rDOWNLOAD_DEFAULT_MSG",
        { "other:1,3,2,4,1,5,0,0," }, "other");
}

void TestSignInterpreter::replies()
{
    QFETCH(QString, commands);
    QFETCH(QStringList, expected);
    QFETCH(QString, model);

    SignInterpreter sign(model);
    QStringList before = commands.split(u'\r');
    const QString last = before.takeLast();
    for (const QString &command : std::as_const(before))
        QCOMPARE_NE(sign.handle(command), kError);
    const SignState state = sign.state();
    QCOMPARE(sign.handle(last), expected);
    if (expected == kError)
        QVERIFY2(sign.state() == state, "a rejected command changed the sign");
}

void TestSignInterpreter::configurationLine_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("row2");

    // Row 2 as uploaded below: font, style, colour, speed, alignment, pause, beep + 20,
    // timeout in fifths of a second. Two models send the first six as character codes.
    const auto line = [](const char *name, const char *model, const char *build, const char *head,
                         bool characterCodes) {
        QTest::newRow(name) << QString(model) << QString(build) << QString(head)
                            << QString(characterCodes ? "67,72,66,52,51,54,21,225"
                                                      : "3,7,1,4,2,6,21,225");
    };
    line("KR4410", "KR4410", "5", "DOWNLOAD_ALLKR4410,5", true);
    line("TM207", "TM207", "5", "DOWNLOAD_ALLTM207,5", true);
    line("VX903 plain", "VX903", "12", "DOWNLOAD_ALLVX903,12", false);
    line("no build: bare model head", "KR4410", "", "KR4410", true);
}

void TestSignInterpreter::configurationLine()
{
    QFETCH(QString, model);
    QFETCH(QString, build);
    QFETCH(QString, head);
    QFETCH(QString, row2);

    SignInterpreter sign(model, build);
    for (const char *command :
         { "<DF pr=2 f=3 c=1 s=7 a=2 sp=4 p=6 b=1 t=45>", "<link id=1 cap=0>", "<link id=3 cap=0>",
           "<link id=6 cap=30,10 pr=3>", "<link id=0 cap=0012 pr=1>", "<id=user>", "<UC>SPEED 3" })
        QCOMPARE_NE(sign.handle(command), kError);
    const QStringList reply = sign.handle("DOWNLOAD_ALL");
    QCOMPARE(reply.size(), 1);
    QCOMPARE(reply.first().section(u':', 0, 0), head);
    const QStringList fields = reply.first().section(u':', 1).split(u',');
    QCOMPARE(fields.size(), 90);
    QCOMPARE(fields.mid(16, 8).join(u','), row2);
    // Sixteen link entries (ID, capcode, priority) in ID order, the unused ones zero; then
    // the ID mode and the user command.
    QCOMPARE(fields.mid(40).join(u','),
             "0,0012,1,6,30,3,6,10,3" + QString(",0,0,0").repeated(13) + ",0,SPEED 3");
}

void TestSignInterpreter::factoryDefaultsUndoEverything()
{
    SignInterpreter sign("TM207");
    for (const char *command :
         { "<DF pr=0 f=1 c=1 s=1 a=1 sp=1 p=1 b=0 t=99>", "<id=user>", "<UC>X",
           "<link id=5 cap=42 pr=3>", "<link id=0 cap=0>", "<DF f=1 c=1 s=1 a=1 sp=1 p=1>NEW",
           "<TIME f=1 c=1 s=1 a=1 sp=1 p=1 fm=3>IDLE ON",
           "<Time time=01:02:03 date=2001/02/03-6>SET TIME" })
        QCOMPARE_NE(sign.handle(command), kError);
    QVERIFY(sign.state() != SignState::factory("TM207"));
    QCOMPARE(sign.handle("<FD>"), kDone);
    QVERIFY(sign.state() == SignState::factory("TM207"));
}

void TestSignInterpreter::clockFollowsTheSetTime()
{
    SignInterpreter sign;
    sign.handle("<Time time=23:59:30 date=2031/12/24-3>SET TIME");
    const QDateTime target(QDate(2031, 12, 24), QTime(23, 59, 30));
    const qint64 drift = sign.state().clock(QDateTime::currentDateTime()).secsTo(target);
    QVERIFY2(qAbs(drift) <= 60, qPrintable(QString::number(drift)));
}

void TestSignInterpreter::factoryRecordsSuitTheClient()
{
    // The client closes its port 400 ms after asking; at 9600 baud a character takes
    // 1.04 ms, so the configuration line plus its line feed must leave a good margin.
    constexpr int kMaxCharacters = 280;
    // The main window looks for these anywhere in a reply, ignoring case; other replies
    // must not contain them or they would be taken for an acknowledgement.
    const QRegularExpression acknowledgement("done|default|linked",
                                             QRegularExpression::CaseInsensitiveOption);
    for (const char *model : { "KR4410", "TM207", "VX903", "another model" }) {
        SignInterpreter sign(model, "12345");
        const QString line = sign.handle("DOWNLOAD_ALL").value(0);
        const QString record = sign.handle("DOWNLOAD_DEFAULT_MSG").value(0);
        QVERIFY2(line.size() + 1 <= kMaxCharacters, model);
        QVERIFY2(!line.contains(acknowledgement) && !record.contains(acknowledgement), model);
    }
}

QTEST_GUILESS_MAIN(TestSignInterpreter)
#include "tst_sign_interpreter.moc"
