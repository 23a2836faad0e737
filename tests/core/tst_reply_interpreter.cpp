#include "core/ReplyInterpreter.h"
#include "core/ReplyNumber.h"
#include "core/Upload.h"

#include <QTest>

using namespace tavrin::core;
using tavrin::vocab::Attribute;

namespace {

// 90 data fields: five plain-coded profiles, 16 empty link entries, user ID, no command.
QStringList plainFields()
{
    QStringList fields;
    for (int k = 0; k < kRows; ++k)
        fields << QString::number(k) << "1"
               << "2"
               << "0"
               << "1"
               << "3"
               << "21"
               << "50";
    for (int n = 0; n < 16; ++n)
        fields << "0"
               << "0"
               << "0";
    fields << "0"
           << "";
    return fields;
}

QString configLine(const QString &head, const QStringList &fields)
{
    return head + ":" + fields.join(',');
}

void setLink(QStringList &fields, int entry, const QString &id, const QString &capcode,
             const QString &priority)
{
    fields[40 + 3 * entry] = id;
    fields[41 + 3 * entry] = capcode;
    fields[42 + 3 * entry] = priority;
}

// A window that already shows a configuration matching its image.
MainState syncedState()
{
    MainState s;
    for (int k = 0; k < kRows; ++k) {
        for (Attribute a : tavrin::vocab::kAttributes)
            s.selectRowCode(k, a, 2);
        s.config.rows[k].timeout = "30";
    }
    s.config.links[5] = { "777", 3 };
    s.config.userCommand = "RESET";
    s.config.autoID = 1;
    getChangedRows(s);
    s.flags = {};
    return s;
}

} // namespace

class TestReplyInterpreter : public QObject
{
    Q_OBJECT

private slots:
    void readNumber_data();
    void readNumber();
    void keywords_data();
    void keywords();
    void head_data();
    void head();
    void encodings_data();
    void encodings();
    void timeouts_data();
    void timeouts();
    void links_data();
    void links();
    void shortLineKeepsWhatItDoesNotReach_data();
    void shortLineKeepsWhatItDoesNotReach();
    void downloadLeavesNothingToUpload();
};

void TestReplyInterpreter::readNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("number");
    // clang-format off
    QTest::newRow("plain") << "65" << 65.0;
    QTest::newRow("blanks inside are skipped") << " 6 5" << 65.0;
    QTest::newRow("tabs and line feeds skipped") << "\t\n7" << 7.0;
    QTest::newRow("stops at a letter") << "12abc" << 12.0;
    QTest::newRow("stops at carriage return") << "50\r9" << 50.0;
    QTest::newRow("fraction") << "12.5" << 12.5;
    QTest::newRow("second point stops") << "1.2.3" << 1.2;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("exponent") << "1e2" << 100.0;
    QTest::newRow("letter e without digits stops") << "4e" << 4.0;
    QTest::newRow("no number") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign alone") << "-" << 0.0;
    // clang-format on
}

void TestReplyInterpreter::readNumber()
{
    QFETCH(QString, text);
    QFETCH(double, number);
    QCOMPARE(tavrin::core::readNumber(text), number);
}

void TestReplyInterpreter::keywords_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("progress");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<bool>("configuration");

    // clang-format off
    const QString prev = "previous";
    QTest::newRow("done") << "done" << 60 << "Uploaded 3 Successfull" << true << false;
    QTest::newRow("done in capitals inside text") << "xxDONExx" << 40 << "Uploaded 2 Successfull" << true << false;
    QTest::newRow("done counts whole steps") << "done" << 61 << "Uploaded 3 Successfull" << true << false;
    QTest::newRow("done beats a configuration line") << configLine("Redone,5", plainFields()) << 20 << "Uploaded 1 Successfull" << true << false;
    QTest::newRow("done beats default") << "default done" << 0 << "Uploaded 0 Successfull" << true << false;
    QTest::newRow("default") << "DEFAULT 3 more" << 0 << "Default Uploaded : 3" << true << false;
    QTest::newRow("default beats linked") << "default linked" << 0 << "Default Uploaded : linked" << true << false;
    QTest::newRow("default without word") << "default" << 0 << prev << true << false;
    QTest::newRow("delinked does nothing") << "delinked" << 0 << prev << false << false;
    QTest::newRow("delinked in capitals") << "DeLinked" << 0 << prev << false << false;
    QTest::newRow("delinked with an id") << "delinked 4" << 0 << "Linked ID : 4" << true << false;
    QTest::newRow("linked") << "linked 2" << 0 << "Linked ID : 2" << true << false;
    QTest::newRow("linked without word") << "linked" << 0 << prev << true << false;
    QTest::newRow("linked keeps no CR") << "linked 5\r" << 0 << "Linked ID : 5" << true << false;
    QTest::newRow("user cmd") << "USER CMD" << 0 << "User Command Uploaded" << true << false;
    QTest::newRow("user cmd is whole line") << "user cmd now" << 0 << prev << false << false;
    QTest::newRow("user cmd with CR fails") << "user cmd\r" << 0 << prev << false << false;
    QTest::newRow("auto id") << "auto id" << 0 << "Switched to Auto ID" << true << false;
    QTest::newRow("user id") << "User ID" << 0 << "Switched to User ID" << true << false;
    QTest::newRow("error") << "Error" << 0 << prev << false << false;
    QTest::newRow("error with colon is a configuration") << "error:" << 0 << prev << false << true;
    QTest::newRow("unknown") << "hello" << 0 << prev << false << false;
    QTest::newRow("empty") << "" << 0 << prev << false << false;
    // clang-format on
}

void TestReplyInterpreter::keywords()
{
    QFETCH(QString, line);
    QFETCH(int, progress);
    QFETCH(QString, status);
    QFETCH(bool, shown);
    QFETCH(bool, configuration);

    MainState s;
    s.status = "previous";
    s.progressValue = progress;
    const ReplyOutcome out = parseSignReply(line, s);
    QCOMPARE(out.state.status, status);
    QCOMPARE(out.statusShown, shown);
    QCOMPARE(out.state.statusVisible, shown);
    QCOMPARE(out.profileApplied, configuration);
    QCOMPARE(out.firmwareCountSet, configuration);
}

void TestReplyInterpreter::head_data()
{
    QTest::addColumn<QString>("head");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("toolTip");
    // clang-format off
    const QString old = "Firmware Count is available in version 3.9 and above";
    QTest::newRow("model and build") << "KR4410,12" << "KR4410" << "12" << "Firmware Count";
    QTest::newRow("model alone") << "KR4410" << "KR4410" << "Not Available" << old;
    QTest::newRow("further head fields ignored") << "VX903,3,x" << "VX903" << "3" << "Firmware Count";
    QTest::newRow("request echo removed") << "DOWNLOAD_ALLKR4410,12" << "KR4410" << "12" << "Firmware Count";
    QTest::newRow("lower-case echo kept") << "download_allKR4410" << "download_allKR4410" << "Not Available" << old;
    QTest::newRow("no model") << "DOWNLOAD_ALL" << "" << "Not Available" << old;
    // clang-format on
}

void TestReplyInterpreter::head()
{
    QFETCH(QString, head);
    QFETCH(QString, model);
    QFETCH(QString, count);
    QFETCH(QString, toolTip);
    const ReplyOutcome out = parseSignReply(configLine(head, plainFields()), MainState());
    QCOMPARE(out.state.modelLabel, model);
    QCOMPARE(out.state.modelNumber, model);
    QCOMPARE(out.state.firmwareCount, count);
    QCOMPARE(out.state.firmwareCountToolTip, toolTip);
    QCOMPARE(out.showPriority, !model.isEmpty());
    QCOMPARE(out.state.profile.vx903, model == "VX903");
    QVERIFY(out.profileApplied);
}

void TestReplyInterpreter::encodings_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QList<int>>("image"); // font style colour speed alignment pause beep timeout
    QTest::addColumn<QList<int>>("selected"); // the seven lists

    // clang-format off
    const QList<int> decoded { 1, 0, 1, 2, 0, 3, 1, 10 };
    QTest::newRow("KR4410") << "KR4410" << decoded << decoded.mid(0, 7);
    QTest::newRow("TM207") << "TM207" << decoded << decoded.mid(0, 7);
    const QList<int> raw { 65, 65, 66, 50, 49, 51, 1, 10 };
    const QList<int> none { -1, -1, -1, -1, -1, -1, 1 };
    QTest::newRow("other model") << "AB12" << raw << none;
    QTest::newRow("model name is exact case") << "kr4410" << raw << none;
    QTest::newRow("VX903 is plain too") << "VX903" << raw << none;
    // clang-format on
}

void TestReplyInterpreter::encodings()
{
    QFETCH(QString, model);
    QFETCH(QList<int>, image);
    QFETCH(QList<int>, selected);

    QStringList fields = plainFields();
    const QStringList row0 { "65", "65", "66", "50", "49", "51", "21", "50" };
    for (int j = 0; j < 8; ++j)
        fields[j] = row0[j];
    MainState before;
    for (Attribute a : tavrin::vocab::kAttributes)
        before.selectRowCode(0, a, 1); // the re-applied profile must drop these
    const MainState s = parseSignReply(configLine(model + ",5", fields), before).state;

    const QList<int> gotImage { s.image.font[0],  s.image.style[0],     s.image.color[0],
                                s.image.speed[0], s.image.alignment[0], s.image.pause[0],
                                s.image.beep[0],  s.image.timeout[0] };
    QCOMPARE(gotImage, image);
    const PriorityRow &r = s.config.rows[0];
    QCOMPARE((QList<int> { r.font, r.style, r.color, r.speed, r.alignment, r.pause, r.beep }),
             selected);
    QCOMPARE(r.timeout, QString("10"));
}

void TestReplyInterpreter::timeouts_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("seconds");
    // clang-format off
    QTest::newRow("12 gives 2") << "12" << 2;
    QTest::newRow("13 gives 3") << "13" << 3;
    QTest::newRow("12.5 gives 2") << "12.5" << 2;
    QTest::newRow("17.5 gives 4") << "17.5" << 4;
    QTest::newRow("no number gives 0") << "x" << 0;
    QTest::newRow("negative half to even") << "-12.5" << -2;
    QTest::newRow("beyond 16 bits keeps the old") << "163840" << 30;
    // clang-format on
}

void TestReplyInterpreter::timeouts()
{
    QFETCH(QString, field);
    QFETCH(int, seconds);
    QStringList fields = plainFields();
    fields[8 * 2 + 7] = field;
    const MainState s = parseSignReply(configLine("KR4410,5", fields), syncedState()).state;
    QCOMPARE(int(s.image.timeout[2]), seconds);
    QCOMPARE(s.config.rows[2].timeout, QString::number(seconds));
}

void TestReplyInterpreter::links_data()
{
    QTest::addColumn<QStringList>("entries"); // "id/capcode/priority" for entries 0, 1, ...
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("capcode");
    QTest::addColumn<int>("priority");
    QTest::addColumn<QString>("imagePriority");

    // clang-format off
    QTest::newRow("capcodes collected, later priority wins") << QStringList { "3/A/2", "1/X/4", "3/B/1" } << 3 << "A,B" << 1 << "1";
    QTest::newRow("capcode 0 skipped with its priority") << QStringList { "3/A/2", "3/0/4" } << 3 << "A" << 2 << "2";
    QTest::newRow("priority 5 not applied") << QStringList { "4/77/5" } << 4 << "77" << -1 << "";
    QTest::newRow("priority kept as received") << QStringList { "4/77/ 3" } << 4 << "77" << 3 << " 3";
    QTest::newRow("id outside 0-7 ignored") << QStringList { "8/77/1", "x/78/1" } << 0 << "" << -1 << "";
    QTest::newRow("stale rows cleared") << QStringList {} << 5 << "" << -1 << "";
    // clang-format on
}

void TestReplyInterpreter::links()
{
    QFETCH(QStringList, entries);
    QFETCH(int, id);
    QFETCH(QString, capcode);
    QFETCH(int, priority);
    QFETCH(QString, imagePriority);

    QStringList fields = plainFields();
    for (int n = 0; n < entries.size(); ++n) {
        const QStringList e = entries[n].split('/');
        setLink(fields, n, e[0], e[1], e[2]);
    }
    const MainState s = parseSignReply(configLine("AB12,5", fields), syncedState()).state;
    QCOMPARE(s.config.links[id].capcode, capcode);
    QCOMPARE(int(s.config.links[id].priority), priority);
    QCOMPARE(s.image.capcode[id], capcode);
    QCOMPARE(s.image.linkPriority[id], imagePriority);
}

void TestReplyInterpreter::shortLineKeepsWhatItDoesNotReach_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("rowZeroRead");
    // clang-format off
    QTest::newRow("three fields") << "KR4410,5:65,65,66" << true;
    QTest::newRow("empty data part") << "KR4410,5:" << false;
    QTest::newRow("further colon ends the data") << "KR4410,5::65,65,66" << false;
    // clang-format on
}

void TestReplyInterpreter::shortLineKeepsWhatItDoesNotReach()
{
    QFETCH(QString, line);
    QFETCH(bool, rowZeroRead);

    MainState before = syncedState();
    before.flags.row[4] = true;
    const MainState s = parseSignReply(line, before).state;

    QCOMPARE(int(s.config.rows[0].font), rowZeroRead ? 1 : 2);
    QCOMPARE(int(s.image.font[0]), rowZeroRead ? 1 : 2);
    QCOMPARE(int(s.config.rows[0].speed), 2);
    QCOMPARE(s.config.rows[0].timeout, QString("30"));
    for (int k = 1; k < kRows; ++k)
        QCOMPARE(s.config.rows[k], before.config.rows[k]);
    QCOMPARE(s.config.links, before.config.links);
    QCOMPARE(s.config.userCommand, QString("RESET"));
    QCOMPARE(s.config.autoID, 1);
    QCOMPARE(s.image.capcode, before.image.capcode);
    QVERIFY(!s.flags.row[4]);
}

void TestReplyInterpreter::downloadLeavesNothingToUpload()
{
    for (const QString model : { "KR4410", "VX903", "AB12" }) {
        QStringList fields = plainFields();
        if (model == "KR4410") {
            for (int k = 0; k < kRows; ++k)
                for (int j = 0; j < 6; ++j)
                    fields[8 * k + j] = QString::number(fields[8 * k + j].toInt()
                                                        + QList<int> { 64, 65, 65, 48, 49, 48 }[j]);
        }
        setLink(fields, 0, "3", "A", "2");
        setLink(fields, 4, "3", "B", "1");
        setLink(fields, 7, "0", "555", "0");
        setLink(fields, 9, "6", "9", "7");
        fields[88] = "0";
        fields[89] = "CMD";
        // One sign ends its lines with CR LF; the CR must not reach the user command.
        const QString line = configLine(model + ",5", fields) + (model == "AB12" ? "\r" : "");

        // The window held a link on ID 5 that the sign no longer reports.
        MainState s = parseSignReply(line, syncedState()).state;
        QCOMPARE(s.config.rows[2].font, Code(2));
        QCOMPARE(s.config.links[3], (LinkRow { "A,B", 1 }));
        QCOMPARE(s.config.userCommand, QString("CMD"));
        QCOMPARE(s.testLabel, QString("Auto ID False"));
        QCOMPARE(getChangedRows(s), 0);
        QCOMPARE(s.flags, PendingFlags {});
    }
}

QTEST_GUILESS_MAIN(TestReplyInterpreter)
#include "tst_reply_interpreter.moc"
