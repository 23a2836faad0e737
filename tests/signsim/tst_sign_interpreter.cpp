#include "SignInterpreter.h"
#include "SignRecords.h"

#include <QMap>
#include <QTest>

#include <array>

using namespace tavrin::signsim;

namespace {

using Capcodes = QMap<int, QString>;
using Priorities = QMap<int, int>;

// The configuration line read back the way the program reads it, independent of the encoder.
struct Download
{
    QString model;
    QString build;
    QList<std::array<int, 8>> rows; // font, style, colour, speed, alignment, pause, beep, timeout
    Capcodes capcodes; // by link ID, joined by ","
    Priorities linkPriority;
    QString idMode;
    QString userCommand;
    qsizetype fieldCount = 0;
};

Download readDownload(const QString &line)
{
    Download d;
    QString head = line.section(u':', 0, 0);
    head.remove("DOWNLOAD_ALL");
    d.model = head.section(u',', 0, 0);
    d.build = head.section(u',', 1, 1);
    const QStringList fields = line.section(u':', 1, 1).split(u',');
    d.fieldCount = fields.size();
    const bool characterCodes = d.model == "KR4410" || d.model == "TM207";
    const std::array<int, 6> offsets
        = characterCodes ? std::array { 64, 65, 65, 48, 49, 48 } : std::array { 0, 0, 0, 0, 0, 0 };
    for (int k = 0; k < 5 && fields.size() >= 8 * k + 8; ++k) {
        std::array<int, 8> row {};
        for (int j = 0; j < 6; ++j)
            row[j] = fields[8 * k + j].toInt() - offsets[j];
        row[6] = fields[8 * k + 6].toInt() - 20;
        row[7] = fields[8 * k + 7].toInt() / 5;
        d.rows.append(row);
    }
    for (int n = 0; n < 16 && fields.size() >= 43 + 3 * n; ++n) {
        const QString capcode = fields[41 + 3 * n];
        if (capcode == "0")
            continue;
        const int id = fields[40 + 3 * n].toInt();
        d.capcodes[id] = d.capcodes.value(id).isEmpty() ? capcode : d.capcodes[id] + "," + capcode;
        d.linkPriority[id] = fields[42 + 3 * n].toInt();
    }
    d.idMode = fields.value(88);
    d.userCommand = fields.value(89);
    return d;
}

Download download(SignInterpreter &sign)
{
    const QStringList reply = sign.handle("DOWNLOAD_ALL");
    return reply.size() == 1 ? readDownload(reply.first()) : Download {};
}

QString latin1(const char *bytes)
{
    return QString::fromLatin1(bytes);
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
    void factoryLineFitsTheClientsWindow_data();
    void factoryLineFitsTheClientsWindow();
    void priorityRoundTrip_data();
    void priorityRoundTrip();
    void linkTable_data();
    void linkTable();
    void idModeAndUserCommand();
    void defaultMessageRecord_data();
    void defaultMessageRecord();
    void timeStatus_data();
    void timeStatus();
    void factoryDefaultsUndoEverything();
    void clockFollowsTheSetTime();
    void repliesCarryNoForeignKeyword();
};

void TestSignInterpreter::replies_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("expected");

    const QStringList done { "done" };
    const QStringList error { "error" };
    QTest::newRow("auto ID") << "<id=auto>" << QStringList { "Auto ID" };
    QTest::newRow("user ID") << "<id=user>" << QStringList { "User ID" };
    QTest::newRow("user command") << "<UC>HELLO" << QStringList { "user cmd" };
    QTest::newRow("priority row") << "<DF pr=2 f=3 c=1 s=0 a=0 sp=0 p=0 b=0 t=30>" << done;
    QTest::newRow("priority 5 does not exist")
        << "<DF pr=5 f=3 c=1 s=0 a=0 sp=0 p=0 b=0 t=30>" << error;
    QTest::newRow("font past the list") << "<DF pr=0 f=25 c=1 s=0 a=0 sp=0 p=0 b=0 t=30>" << error;
    QTest::newRow("nothing selected") << "<DF pr=0 f=-1 c=1 s=0 a=0 sp=0 p=0 b=0 t=30>" << error;
    QTest::newRow("timeout not a number")
        << "<DF pr=0 f=3 c=1 s=0 a=0 sp=0 p=0 b=0 t=abc>" << error;
    QTest::newRow("beep missing") << "<DF pr=0 f=3 c=1 s=0 a=0 sp=0 p=0 t=30>" << error;
    QTest::newRow("attribute twice") << "<DF pr=0 f=3 f=3 c=1 s=0 a=0 sp=0 p=0 b=0 t=30>" << error;
    QTest::newRow("link") << "<link id=3 cap=123456 pr=2>" << QStringList { "linked 3" };
    QTest::newRow("unlink") << "<link id=3 cap=0>" << QStringList { "delinked" };
    QTest::newRow("link ID 8") << "<link id=8 cap=123456 pr=2>" << error;
    QTest::newRow("capcode not digits") << "<link id=3 cap=12ab pr=2>" << error;
    QTest::newRow("capcode all zeros") << "<link id=3 cap=000 pr=2>" << error;
    QTest::newRow("empty capcode in list") << "<link id=3 cap=12,,34 pr=2>" << error;
    QTest::newRow("link without priority") << "<link id=3 cap=123456>" << error;
    QTest::newRow("factory defaults") << "<FD>" << done;
    QTest::newRow("default message")
        << "<DF f=0 c=3 s=0 a=2 sp=2 p=3>HELLO" << QStringList { "default msg" };
    QTest::newRow("default message bad colour") << "<DF f=0 c=13 s=0 a=2 sp=2 p=3>HELLO" << error;
    QTest::newRow("delete default message") << "<del id=def>" << QStringList { "default deleted" };
    QTest::newRow("time display") << "<TIME f=0 c=3 s=0 a=0 sp=2 p=3 fm=7>IDLE ON" << done;
    QTest::newRow("time display other body")
        << "<TIME f=0 c=3 s=0 a=0 sp=2 p=3 fm=0>IDLE OFF" << error;
    QTest::newRow("idle on answers nothing") << "<TIME>IDLE ON" << QStringList {};
    QTest::newRow("idle off answers nothing") << "<TIME>IDLE OFF" << QStringList {};
    QTest::newRow("bare carriage return") << "" << QStringList {};
    QTest::newRow("reset") << "RESET" << QStringList { "reset" };
    QTest::newRow("clock") << "<Time time=18:30:05 date=2024/05/01-3>SET TIME"
                           << QStringList { "SET TIME OK" };
    QTest::newRow("clock 30 February") << "<Time time=18:30:05 date=2024/02/30-5>SET TIME" << error;
    QTest::newRow("clock weekday 7") << "<Time time=18:30:05 date=2024/05/01-7>SET TIME" << error;
    QTest::newRow("test message") << "<id=3 f=5 s=0 c=3 a=0 b=1 p=3 sp=2 t=10>$FAHi$CB$T0$L"
                                  << done;
    QTest::newRow("test message ID 8") << "<id=8 f=5 s=0 c=3 a=0 b=1 p=3 sp=2 t=10>Hi" << error;
    QTest::newRow("unknown word") << "HELLO" << error;
    QTest::newRow("commands are case-sensitive") << "download_all" << error;
    QTest::newRow("unclosed tag") << "<id=auto" << error;
    QTest::newRow("line feed left by a CR LF terminal") << "\nRESET" << QStringList { "reset" };
}

void TestSignInterpreter::replies()
{
    QFETCH(QString, command);
    QFETCH(QStringList, expected);

    SignInterpreter sign;
    QCOMPARE(sign.handle(command), expected);
    if (expected == QStringList { "error" })
        QVERIFY2(sign.state() == SignState::factory(sign.model()),
                 "a rejected command changed the sign");
}

void TestSignInterpreter::configurationLine_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("expectedHead");
    QTest::addColumn<QString>("expectedRow0");

    // Factory row 0 is font 5 (6 on a VX903), colour 3, style 0, alignment 0, speed 2,
    // pause 3, beep 1, timeout 10 s; fields run font, style, colour, speed, alignment, pause.
    QTest::newRow("KR4410 character codes") << "KR4410"
                                            << "5"
                                            << "DOWNLOAD_ALLKR4410,5"
                                            << "69,65,68,50,49,51,21,50";
    QTest::newRow("TM207 character codes") << "TM207"
                                           << "5"
                                           << "DOWNLOAD_ALLTM207,5"
                                           << "69,65,68,50,49,51,21,50";
    QTest::newRow("VX903 plain, its own fonts") << "VX903"
                                                << "5"
                                                << "DOWNLOAD_ALLVX903,5"
                                                << "6,0,3,2,0,3,21,50";
    QTest::newRow("other model plain") << "other"
                                       << "5"
                                       << "DOWNLOAD_ALLother,5"
                                       << "5,0,3,2,0,3,21,50";
    QTest::newRow("lower-case kr4410 is another model") << "kr4410"
                                                        << "5"
                                                        << "DOWNLOAD_ALLkr4410,5"
                                                        << "5,0,3,2,0,3,21,50";
    QTest::newRow("model with blanks") << "LED 9 X"
                                       << "12"
                                       << "DOWNLOAD_ALLLED 9 X,12"
                                       << "5,0,3,2,0,3,21,50";
    QTest::newRow("no build: bare model head") << "KR4410"
                                               << ""
                                               << "KR4410"
                                               << "69,65,68,50,49,51,21,50";
}

void TestSignInterpreter::configurationLine()
{
    QFETCH(QString, model);
    QFETCH(QString, build);
    QFETCH(QString, expectedHead);
    QFETCH(QString, expectedRow0);

    SignInterpreter sign(model, build);
    const QStringList reply = sign.handle("DOWNLOAD_ALL");
    QCOMPARE(reply.size(), 1);
    const QString line = reply.first();
    QCOMPARE(line.count(u':'), 1);
    QCOMPARE(line.section(u':', 0, 0), expectedHead);
    const QStringList fields = line.section(u':', 1).split(u',');
    QCOMPARE(fields.size(), 90);
    QCOMPARE(fields.mid(0, 8).join(u','), expectedRow0);
    // 16 entries: ID 0 one capcode, ID 1 two, ID 3 one, then twelve empty ones.
    QCOMPARE(fields.mid(40, 12).join(u','), "0,123456,0,1,234567,1,1,234568,1,3,345678,2");
    for (int n = 4; n < 16; ++n)
        QCOMPARE(fields.mid(40 + 3 * n, 3).join(u','), "0,0,0");
    QCOMPARE(fields[88], "1");
    QCOMPARE(fields[89], "BRIGHT 8");
}

void TestSignInterpreter::factoryLineFitsTheClientsWindow_data()
{
    QTest::addColumn<QString>("model");
    for (const char *model : { "KR4410", "TM207", "VX903", "another model" })
        QTest::newRow(model) << model;
}

void TestSignInterpreter::factoryLineFitsTheClientsWindow()
{
    QFETCH(QString, model);
    // The client closes its port 400 ms after asking; at 9600 baud a character takes
    // 1.04 ms, so the line plus its line feed must leave a good margin.
    constexpr int kMaxCharacters = 280;
    SignInterpreter sign(model, "12345");
    QVERIFY(sign.handle("DOWNLOAD_ALL").first().size() + 1 <= kMaxCharacters);
}

void TestSignInterpreter::priorityRoundTrip_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<int>>("expected"); // font, style, colour, speed, align, pause, beep, s

    const QString highest = "<DF pr=4 f=24 c=12 s=27 a=2 sp=4 p=9 b=2 t=32767>";
    const QString lowest = "<DF pr=0 f=0 c=0 s=0 a=0 sp=0 p=0 b=0 t=0>";
    const QList<int> highestValues { 24, 27, 12, 4, 2, 9, 2, 32767 };
    const QList<int> lowestValues { 0, 0, 0, 0, 0, 0, 0, 0 };
    for (const char *model : { "KR4410", "TM207", "VX903", "other" }) {
        QTest::addRow("%s highest codes", model) << model << highest << 4 << highestValues;
        QTest::addRow("%s lowest codes", model) << model << lowest << 0 << lowestValues;
    }
    QTest::newRow("command order differs from field order")
        << "KR4410"
        << "<DF pr=2 f=3 c=1 s=7 a=2 sp=4 p=6 b=1 t=45>" << 2
        << QList<int> { 3, 7, 1, 4, 2, 6, 1, 45 };
}

void TestSignInterpreter::priorityRoundTrip()
{
    QFETCH(QString, model);
    QFETCH(QString, command);
    QFETCH(int, row);
    QFETCH(QList<int>, expected);

    SignInterpreter sign(model);
    const Download before = download(sign);
    QCOMPARE(sign.handle(command), QStringList { "done" });
    const Download after = download(sign);
    QCOMPARE(after.rows.size(), 5);
    const std::array<int, 8> &values = after.rows[row];
    QCOMPARE(QList<int>(values.begin(), values.end()), expected);
    for (int k = 0; k < 5; ++k) {
        if (k != row)
            QCOMPARE(after.rows[k], before.rows[k]);
    }
}

void TestSignInterpreter::linkTable_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("lastReply");
    QTest::addColumn<Capcodes>("capcodes");
    QTest::addColumn<Priorities>("priorities");

    const Capcodes factory { { 0, "123456" }, { 1, "234567,234568" }, { 3, "345678" } };
    const Priorities factoryPriorities { { 0, 0 }, { 1, 1 }, { 3, 2 } };

    QTest::newRow("unlink then link, as the upload does")
        << QStringList { "<link id=3 cap=0>", "<link id=3 cap=999 pr=4>" } << "linked 3"
        << Capcodes { { 0, "123456" }, { 1, "234567,234568" }, { 3, "999" } }
        << Priorities { { 0, 0 }, { 1, 1 }, { 3, 4 } };
    QTest::newRow("link replaces without unlink")
        << QStringList { "<link id=1 cap=5 pr=0>" } << "linked 1"
        << Capcodes { { 0, "123456" }, { 1, "5" }, { 3, "345678" } }
        << Priorities { { 0, 0 }, { 1, 0 }, { 3, 2 } };
    QTest::newRow("new ID with three capcodes keeps their order")
        << QStringList { "<link id=6 cap=30,10,20 pr=3>" } << "linked 6"
        << Capcodes { { 0, "123456" }, { 1, "234567,234568" }, { 3, "345678" }, { 6, "30,10,20" } }
        << Priorities { { 0, 0 }, { 1, 1 }, { 3, 2 }, { 6, 3 } };
    QTest::newRow("unlink") << QStringList { "<link id=1 cap=0>" } << "delinked"
                            << Capcodes { { 0, "123456" }, { 3, "345678" } }
                            << Priorities { { 0, 0 }, { 3, 2 } };
    QTest::newRow("leading zeros kept")
        << QStringList { "<link id=0 cap=0012 pr=1>" } << "linked 0"
        << Capcodes { { 0, "0012" }, { 1, "234567,234568" }, { 3, "345678" } }
        << Priorities { { 0, 1 }, { 1, 1 }, { 3, 2 } };
    // Four capcodes in the factory table: twelve more fill all sixteen entries.
    QTest::newRow("sixteen capcodes fit")
        << QStringList { "<link id=7 cap=1,2,3,4,5,6,7,8,9,10,11,12 pr=0>" } << "linked 7"
        << Capcodes { { 0, "123456" },
                      { 1, "234567,234568" },
                      { 3, "345678" },
                      { 7, "1,2,3,4,5,6,7,8,9,10,11,12" } }
        << Priorities { { 0, 0 }, { 1, 1 }, { 3, 2 }, { 7, 0 } };
    QTest::newRow("seventeen do not, and nothing changes")
        << QStringList { "<link id=7 cap=1,2,3,4,5,6,7,8,9,10,11,12,13 pr=0>" } << "error"
        << factory << factoryPriorities;
    QTest::newRow("replacing an ID frees its entries")
        << QStringList { "<link id=1 cap=1,2,3,4,5,6,7,8,9,10,11,12,13 pr=2>" } << "linked 1"
        << Capcodes { { 0, "123456" }, { 1, "1,2,3,4,5,6,7,8,9,10,11,12,13" }, { 3, "345678" } }
        << Priorities { { 0, 0 }, { 1, 2 }, { 3, 2 } };
}

void TestSignInterpreter::linkTable()
{
    QFETCH(QStringList, commands);
    QFETCH(QString, lastReply);
    QFETCH(Capcodes, capcodes);
    QFETCH(Priorities, priorities);

    SignInterpreter sign;
    QStringList reply;
    for (const QString &command : std::as_const(commands))
        reply = sign.handle(command);
    QCOMPARE(reply, QStringList { lastReply });
    const Download after = download(sign);
    QCOMPARE(after.fieldCount, 90);
    QCOMPARE(after.capcodes, capcodes);
    QCOMPARE(after.linkPriority, priorities);
}

void TestSignInterpreter::idModeAndUserCommand()
{
    SignInterpreter sign("VX903");
    QCOMPARE(download(sign).idMode, "1");
    sign.handle("<id=user>");
    sign.handle("<UC>SPEED 3");
    QCOMPARE(download(sign).idMode, "0");
    QCOMPARE(download(sign).userCommand, "SPEED 3");
    sign.handle("<id=auto>");
    sign.handle("<UC>");
    QCOMPARE(download(sign).idMode, "1");
    QCOMPARE(download(sign).userCommand, "");
    QCOMPARE(download(sign).fieldCount, 90);
}

void TestSignInterpreter::defaultMessageRecord_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("expected");

    const QString upload = "<DF f=1 c=2 s=3 a=1 sp=4 p=5>A$LB$T0$T7";
    // Fields: font, style, colour, speed, alignment, pause, two unused, text.
    QTest::newRow("KR4410 character codes") << "KR4410" << QStringList { upload }
                                            << latin1("KR4410:65,68,67,52,50,53,0,0,A\xaa"
                                                      "B\xab\xb2");
    QTest::newRow("TM207 sends this record plain") << "TM207" << QStringList { upload }
                                                   << latin1("TM207:1,3,2,4,1,5,0,0,A\xaa"
                                                             "B\xab\xb2");
    QTest::newRow("VX903 plain") << "VX903" << QStringList { upload }
                                 << latin1("VX903:1,3,2,4,1,5,0,0,A\xaa"
                                           "B\xab\xb2");
    QTest::newRow("codes that are no time code stay")
        << "other" << QStringList { "<DF f=0 c=0 s=0 a=0 sp=0 p=0>$T8 $X $ $FA" }
        << "other:0,0,0,0,0,0,0,0,$T8 $X $ $FA";
    QTest::newRow("comma and colon kept, the reader cuts them")
        << "other" << QStringList { "<DF f=0 c=0 s=0 a=0 sp=0 p=0>a,b:c" }
        << "other:0,0,0,0,0,0,0,0,a,b:c";
    QTest::newRow("factory message")
        << "KR4410" << QStringList {} << latin1("KR4410:64,65,68,50,51,51,0,0,WELCOME\xaa\xad");
    QTest::newRow("deleted message keeps its codes")
        << "KR4410" << QStringList { "<del id=def>" } << "KR4410:64,65,68,50,51,51,0,0,";
    QTest::newRow("rejected upload keeps the old message")
        << "other" << QStringList { "<DF f=0 c=0 s=0 a=0 sp=0 p=10>X" }
        << latin1("other:0,0,3,2,2,3,0,0,WELCOME\xaa\xad");
}

void TestSignInterpreter::defaultMessageRecord()
{
    QFETCH(QString, model);
    QFETCH(QStringList, commands);
    QFETCH(QString, expected);

    SignInterpreter sign(model);
    for (const QString &command : std::as_const(commands))
        sign.handle(command);
    QCOMPARE(sign.handle("DOWNLOAD_DEFAULT_MSG"), QStringList { expected });
}

void TestSignInterpreter::timeStatus_data()
{
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QString>("expected");

    QTest::newRow("factory: off") << QStringList {} << "0";
    QTest::newRow("idle on") << QStringList { "<TIME>IDLE ON" } << "1";
    QTest::newRow("idle on then off") << QStringList { "<TIME>IDLE ON", "<TIME>IDLE OFF" } << "0";
    QTest::newRow("time command switches on")
        << QStringList { "<TIME f=0 c=3 s=0 a=0 sp=2 p=3 fm=1>IDLE ON" } << "1";
    QTest::newRow("rejected time command leaves it off")
        << QStringList { "<TIME f=0 c=3 s=0 a=0 sp=2 p=3>IDLE ON" } << "0";
    QTest::newRow("factory defaults switch off") << QStringList { "<TIME>IDLE ON", "<FD>" } << "0";
    QTest::newRow("reset keeps it") << QStringList { "<TIME>IDLE ON", "RESET" } << "1";
}

void TestSignInterpreter::timeStatus()
{
    QFETCH(QStringList, commands);
    QFETCH(QString, expected);

    SignInterpreter sign;
    for (const QString &command : std::as_const(commands))
        sign.handle(command);
    const QStringList reply = sign.handle("TIME_STATUS");
    QCOMPARE(reply.size(), 1);
    QVERIFY(reply.first().startsWith("TIME"));
    QCOMPARE(reply.first().split(u':').value(2), expected);
}

void TestSignInterpreter::factoryDefaultsUndoEverything()
{
    SignInterpreter sign("TM207");
    const QString factoryLine = sign.handle("DOWNLOAD_ALL").first();
    const QString factoryRecord = sign.handle("DOWNLOAD_DEFAULT_MSG").first();
    for (const char *command :
         { "<DF pr=0 f=1 c=1 s=1 a=1 sp=1 p=1 b=0 t=99>", "<id=user>", "<UC>X",
           "<link id=5 cap=42 pr=3>", "<link id=0 cap=0>", "<DF f=1 c=1 s=1 a=1 sp=1 p=1>NEW",
           "<TIME f=1 c=1 s=1 a=1 sp=1 p=1 fm=3>IDLE ON",
           "<Time time=01:02:03 date=2001/02/03-6>SET TIME" })
        sign.handle(command);
    QVERIFY(sign.handle("DOWNLOAD_ALL").first() != factoryLine);

    QCOMPARE(sign.handle("<FD>"), QStringList { "done" });
    QVERIFY(sign.state() == SignState::factory("TM207"));
    QCOMPARE(sign.handle("DOWNLOAD_ALL").first(), factoryLine);
    QCOMPARE(sign.handle("DOWNLOAD_DEFAULT_MSG").first(), factoryRecord);
}

void TestSignInterpreter::clockFollowsTheSetTime()
{
    SignInterpreter sign;
    const QDateTime target(QDate(2031, 12, 24), QTime(23, 59, 30));
    sign.handle("<Time time=23:59:30 date=2031/12/24-3>SET TIME");
    const qint64 drift = sign.state().clock(QDateTime::currentDateTime()).secsTo(target);
    QVERIFY2(qAbs(drift) <= 60, qPrintable(QString::number(drift)));

    sign.handle("<Time time=23:59:30 date=2031/13/24-3>SET TIME");
    QVERIFY(qAbs(sign.state().clock(QDateTime::currentDateTime()).secsTo(target)) <= 60);
}

void TestSignInterpreter::repliesCarryNoForeignKeyword()
{
    // The main window looks for "done", "default" and "linked" anywhere, ignoring case, so
    // no other reply may contain them or it would be taken for an acknowledgement.
    for (const char *model : { "KR4410", "TM207", "VX903", "other" }) {
        SignInterpreter sign(model);
        QStringList replies;
        for (const char *command :
             { "DOWNLOAD_ALL", "DOWNLOAD_DEFAULT_MSG", "TIME_STATUS", "RESET", "<id=auto>",
               "<id=user>", "<UC>x", "BOGUS", "<Time time=01:02:03 date=2001/02/03-6>SET TIME" })
            replies += sign.handle(command);
        for (const QString &reply : std::as_const(replies)) {
            for (const char *keyword : { "done", "default", "linked" })
                QVERIFY2(!reply.contains(keyword, Qt::CaseInsensitive), qPrintable(reply));
        }
    }
}

QTEST_GUILESS_MAIN(TestSignInterpreter)
#include "tst_sign_interpreter.moc"
