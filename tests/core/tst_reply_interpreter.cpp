#include "ReplyInterpreter.h"
#include "SyncedState.h"

#include <QTest>

#include <algorithm>

using namespace tavrin::core;
using tavrin::vocab::Attribute;

namespace {

// 90 data fields: five plain-coded profiles (the first fields replaced by `lead`), 16 link
// entries (empty unless given as "id/capcode/priority"), user ID, no command.
QString configLine(const QString &head, const QString &lead = {}, const QStringList &links = {})
{
    QStringList fields;
    for (int k = 0; k < kRows; ++k)
        fields += QString("%1,1,2,0,1,3,21,50").arg(k).split(',');
    for (int n = 0; n < 16; ++n)
        fields += n < links.size() ? links[n].split('/') : QStringList { "0", "0", "0" };
    fields += { "0", "" };
    const QStringList leading = lead.split(',', Qt::SkipEmptyParts);
    std::copy(leading.begin(), leading.end(), fields.begin());
    return head + ":" + fields.join(',');
}

} // namespace

class TestReplyInterpreter : public QObject
{
    Q_OBJECT

private slots:
    void keywords_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("seen"); // the status shown, "nothing", or "configuration"
        QTest::addColumn<bool>("download"); // the line answers an outstanding DOWNLOAD_ALL

        // The bar stands at 61, its capped last value after three steps.
        // clang-format off
        QTest::newRow("done in capitals inside text, whole steps") << "xxDONExx" << "Uploaded 3 Successfull" << false;
        QTest::newRow("done beats default and a configuration") << configLine("Redone default,5") << "Uploaded 3 Successfull" << false;
        QTest::newRow("default beats linked, second word") << "DEFAULT linked more" << "Default Uploaded : linked" << false;
        QTest::newRow("delinked does nothing") << "DeLinked" << "nothing" << false;
        QTest::newRow("delinked with an id") << "delinked 4" << "Linked ID : 4" << false;
        QTest::newRow("linked keeps no CR") << "linked 5\r" << "Linked ID : 5" << false;
        QTest::newRow("linked without word shows the old text") << "linked" << "previous" << false;
        QTest::newRow("user cmd") << "USER CMD" << "User Command Uploaded" << false;
        QTest::newRow("user cmd with CR fails") << "user cmd\r" << "nothing" << false;
        QTest::newRow("auto id") << "auto id" << "Switched to Auto ID" << false;
        QTest::newRow("error") << "Error" << "nothing" << false;
        QTest::newRow("a configuration line is only a status") << configLine("KR4410,5") << "nothing" << false;
        QTest::newRow("answer to a download, done and all") << configLine("Redone default,5") << "configuration" << true;
        // clang-format on
    }

    void keywords()
    {
        QFETCH(QString, line);
        QFETCH(QString, seen);
        QFETCH(bool, download);
        MainState s;
        s.status = "previous";
        s.progressValue = 61;
        const ReplyOutcome out = parseSignReply(line, s, download);
        QCOMPARE(out.profileApplied    ? "configuration"
                     : out.statusShown ? out.state.status
                                       : "nothing",
                 seen);
        QCOMPARE(out.state.statusVisible, out.statusShown);
    }

    void head_data()
    {
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("count"); // and its tool tip
        QTest::addColumn<QList<int>>(
            "image"); // font style colour speed alignment pause beep timeout
        QTest::addColumn<QList<int>>("selected"); // the seven lists

        // Priority 0 arrives as 65,65,66,50,49,51,21,50.
        // clang-format off
        const QString old = "Not Available|Firmware Count is available in version 3.9 and above";
        const QList<int> decoded { 1, 0, 1, 2, 0, 3, 1, 10 };
        const QList<int> raw { 65, 65, 66, 50, 49, 51, 1, 10 };
        const QList<int> none { -1, -1, -1, -1, -1, -1, 1 };
        QTest::newRow("KR4410 character codes, further head fields ignored") << "KR4410,12,x" << "KR4410" << "12|Firmware Count" << decoded << decoded.mid(0, 7);
        QTest::newRow("TM207 character codes, request echo removed") << "DOWNLOAD_ALLTM207,5" << "TM207" << "5|Firmware Count" << decoded << decoded.mid(0, 7);
        QTest::newRow("other model plain") << "VX903,3" << "VX903" << "3|Firmware Count" << raw << none;
        QTest::newRow("model name is exact case") << "kr4410,3" << "kr4410" << "3|Firmware Count" << raw << none;
        QTest::newRow("model alone, lower-case echo kept") << "download_allKR4410" << "download_allKR4410" << old << raw << none;
        QTest::newRow("no model") << "DOWNLOAD_ALL" << "" << old << raw << none;
        // clang-format on
    }

    void head()
    {
        QFETCH(QString, head);
        QFETCH(QString, model);
        QFETCH(QString, count);
        QFETCH(QList<int>, image);
        QFETCH(QList<int>, selected);
        MainState before;
        for (Attribute a : tavrin::vocab::kAttributes)
            before.selectRowCode(0, a, 1); // the re-applied profile must drop these
        const ReplyOutcome out
            = parseSignReply(configLine(head, "65,65,66,50,49,51,21,50"), before, true);
        const MainState &s = out.state;
        QCOMPARE(s.modelLabel, model);
        QCOMPARE(s.modelNumber, model);
        QCOMPARE(s.firmwareCount + "|" + s.firmwareCountToolTip, count);
        QCOMPARE(out.showPriority, !model.isEmpty());

        const SignImage &i = s.image;
        QCOMPARE((QList<int> { i.font[0], i.style[0], i.color[0], i.speed[0], i.alignment[0],
                               i.pause[0], i.beep[0], i.timeout[0] }),
                 image);
        const PriorityRow &r = s.config.rows[0];
        QCOMPARE((QList<int> { r.font, r.style, r.color, r.speed, r.alignment, r.pause, r.beep }),
                 selected);
    }

    // A timeout field is read as a number, divided by 5 and rounded half to even.
    void timeouts_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("seconds");
        // clang-format off
        QTest::newRow("second point stops, 12.5 gives 2") << "12.5.5" << 2;
        QTest::newRow("17.5 gives 4") << "17.5" << 4;
        QTest::newRow("blanks, tabs and line feeds skipped") << " 6\t\n5" << 13;
        QTest::newRow("exponent") << "-1e2" << -20;
        QTest::newRow("no number reads 0") << "abc" << 0;
        QTest::newRow("beyond 16 bits keeps the old") << "163840" << 30;
        // clang-format on
    }

    void timeouts()
    {
        QFETCH(QString, field);
        QFETCH(int, seconds);
        const QString line = configLine("AB12,5", "1,1,1,1,1,1,21," + field);
        const MainState s = parseSignReply(line, syncedState(), true).state;
        QCOMPARE(int(s.image.timeout[0]), seconds);
        QCOMPARE(s.config.rows[0].timeout, QString::number(seconds));
    }

    void links_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("link"); // capcodes/priority/stored priority
        // clang-format off
        QTest::newRow("capcodes collected, later priority wins") << QStringList { "3/A/2", "1/X/4", "3/B/1", "0/555/0" } << 3 << "A,B/1/1";
        QTest::newRow("capcode 0 skipped with its priority") << QStringList { "3/A/2", "3/0/4" } << 3 << "A/2/2";
        QTest::newRow("priority as received, 5 not applied") << QStringList { "4/77/ 3", "4/78/5" } << 4 << "77,78/3/ 3";
        QTest::newRow("id outside 0-7 ignored") << QStringList { "8/77/1", "x/78/1" } << 0 << "/-1/";
        QTest::newRow("stale rows cleared") << QStringList {} << 5 << "/-1/";
        // clang-format on
    }

    void links()
    {
        QFETCH(QStringList, entries);
        QFETCH(int, id);
        QFETCH(QString, link);
        // A CR LF line end: the CR must not reach the user command.
        const QString line = configLine("AB12,5", {}, entries) + "CMD\r";
        MainState s = parseSignReply(line, syncedState(), true).state;
        const LinkRow &row = s.config.links[id];
        QCOMPARE(row.capcode + "/" + QString::number(row.priority) + "/" + s.image.linkPriority[id],
                 link);
        QCOMPARE(s.image.capcode[id], row.capcode);
        QCOMPARE(s.config.userCommand + "|" + s.testLabel, "CMD|Auto ID False");
        // The image holds what was read, odd links included: nothing to upload or pending.
        QCOMPARE(markChangedItems(s), 0);
        QCOMPARE(s.flags, PendingFlags {});
    }

    void shortLineKeepsWhatItDoesNotReach_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("rowZeroRead");
        QTest::newRow("three fields") << "KR4410,5:65,65,66" << true;
        QTest::newRow("empty data part") << "KR4410,5:" << false;
        QTest::newRow("further colon ends the data") << "KR4410,5::65,65,66" << false;
    }

    void shortLineKeepsWhatItDoesNotReach()
    {
        QFETCH(QString, line);
        QFETCH(bool, rowZeroRead);
        MainState before = syncedState();
        before.flags.row[4] = true;
        const MainState s = parseSignReply(line, before, true).state;

        SignConfig expected = before.config;
        if (rowZeroRead) {
            expected.rows[0].font = expected.rows[0].color = 1;
            expected.rows[0].style = 0;
        }
        QCOMPARE(s.config, expected);
        QCOMPARE(int(s.image.font[0]), rowZeroRead ? 1 : 2);
        QCOMPARE(s.image.capcode, before.image.capcode);
        QVERIFY(!s.flags.row[4]);
    }
};

QTEST_GUILESS_MAIN(TestReplyInterpreter)
#include "tst_reply_interpreter.moc"
