#include "SyncedState.h"

#include <QTest>

#include <functional>

using namespace tavrin::core;

namespace {

// What a tick writes; "|" marks the pause between a link's two commands.
QString written(const UploadStep &step)
{
    return step.first + (step.pauseThenSecond ? "|" + step.second : "");
}

} // namespace

using Edit = std::function<void(MainState &)>;
Q_DECLARE_METATYPE(Edit)

class TestUpload : public QObject
{
    Q_OBJECT

private slots:
    void timeoutProblem_data()
    {
        QTest::addColumn<QString>("timeout");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("zero") << "0" << true;
        QTest::newRow("largest, leading zero") << "032767" << true;
        QTest::newRow("beyond 16 bits") << "32768" << false;
        QTest::newRow("beyond int") << "99999999999" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("surrounding blank") << " 30" << false;
        QTest::newRow("negative") << "-1" << false;
        QTest::newRow("non-ASCII digit") << QString::fromUtf8("\xd9\xa3") << false;
    }

    void timeoutProblem()
    {
        QFETCH(QString, timeout);
        QFETCH(bool, accepted);
        SignConfig c = syncedState().config;
        c.rows[3].timeout = timeout;
        const std::optional<QString> problem = tavrin::protocol::timeoutProblem(c);
        QCOMPARE(!problem, accepted);
        if (problem)
            QVERIFY2(problem->contains("Priority 3"), qPrintable(*problem));
    }

    void changedRows_data()
    {
        QTest::addColumn<Edit>("edit");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("pending");
        // clang-format off
        QTest::newRow("timeout same number") << Edit([](MainState &s) { s.config.rows[3].timeout = "030"; }) << 0 << "";
        QTest::newRow("timeout 30 to 45") << Edit([](MainState &s) { s.config.rows[3].timeout = "45"; }) << 1 << "r3";
        QTest::newRow("two codes of a row count once") << Edit([](MainState &s) { s.config.rows[0].font = 3; s.config.rows[0].style = 4; }) << 1 << "r0";
        QTest::newRow("capcode and priority count twice") << Edit([](MainState &s) { s.config.links[2].capcode = "222"; }) << 2 << "l2";
        QTest::newRow("cleared capcode") << Edit([](MainState &s) { s.config.links[4].capcode.clear(); }) << 1 << "l4";
        QTest::newRow("priority alone") << Edit([](MainState &s) { s.config.links[4].priority = 3; }) << 1 << "l4";
        QTest::newRow("priority without capcode or unselected") << Edit([](MainState &s) { s.config.links[2].priority = 4; s.config.links[4].priority = -1; }) << 0 << "";
        QTest::newRow("ID mode and user command") << Edit([](MainState &s) { s.config.autoID = 0; s.config.userCommand = "OTHER"; }) << 2 << "id uc";
        QTest::newRow("pending link and ID mode count 0") << Edit([](MainState &s) { s.flags.link[6] = s.flags.autoID = true; }) << 0 << "l6 id";
        QTest::newRow("pending row and user command count") << Edit([](MainState &s) { s.flags.row[1] = s.flags.userCommand = true; }) << 2 << "r1 uc";
        // clang-format on
    }

    void changedRows()
    {
        QFETCH(Edit, edit);
        QFETCH(int, count);
        QFETCH(QString, pending);
        MainState s = syncedState();
        edit(s);
        QCOMPARE(markChangedItems(s), count);
        QCOMPARE(pendingItems(s.flags), pending);

        // The image waits for the sign's confirmation.
        QCOMPARE(s.image, syncedState().image);
    }

    void sequencer()
    {
        MainState s = syncedState();
        s.config.links[6] = { "123456", 2 };
        const UploadCommands commands = uploadCommands(s.config);

        // Nothing pending: the first tick ends the upload and leaves the bar's value alone.
        s.progressMaximum = uploadProgressMaximum(s.flags);
        s.progressVisible = true;
        const UploadStep idle = uploadTick(s, commands);
        QVERIFY(idle.finished && idle.first.isEmpty());
        QCOMPARE(s.progressValue, 0);
        QVERIFY(!s.progressVisible);

        // What each tick wrote and the bar after it.
        s.flags.row[1] = s.flags.row[3] = s.flags.link[6] = true;
        s.progressMaximum = uploadProgressMaximum(s.flags);
        s.progressVisible = true;
        QStringList ticks;
        for (UploadStep step; !step.finished;) {
            step = uploadTick(s, commands);
            ticks << written(step) + " @" + QString::number(s.progressValue)
                    + (s.progressVisible ? "" : " hidden");
        }
        QCOMPARE(ticks,
                 QStringList({ commands[1] + " @20", commands[3] + " @40",
                               "<link id=6 cap=0>\r|<link id=6 cap=123456 pr=2>\r @60",
                               " @61 hidden" }));
    }

    void linkCommands_data()
    {
        QTest::addColumn<QString>("capcode");
        QTest::addColumn<int>("priority");
        QTest::addColumn<QString>("link"); // the commands after the clearing one, and the row
        // clang-format off
        QTest::newRow("zero clears") << "0" << 2 << "/-1";
        QTest::newRow("no leading number clears") << "abc" << 1 << "/-1";
        QTest::newRow("leading zeros still a number") << "007" << 1 << "|<link id=3 cap=007 pr=1>\r007/1";
        QTest::newRow("several capcodes as typed") << "12,34" << 4 << "|<link id=3 cap=12,34 pr=4>\r12,34/4";
        QTest::newRow("missing priority becomes 0") << "55" << -1 << "|<link id=3 cap=55 pr=0>\r55/0";
        // clang-format on
    }

    void linkCommands()
    {
        QFETCH(QString, capcode);
        QFETCH(int, priority);
        QFETCH(QString, link);
        MainState s;
        s.config.links[3] = { capcode, Code(priority) };
        s.flags.link[3] = true;
        const QString sent = written(uploadTick(s, uploadCommands(s.config)));
        QCOMPARE(sent + s.config.links[3].capcode + "/"
                     + QString::number(s.config.links[3].priority),
                 "<link id=3 cap=0>\r" + link);
    }
};

QTEST_GUILESS_MAIN(TestUpload)
#include "tst_upload.moc"
