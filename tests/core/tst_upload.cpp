#include "core/Upload.h"

#include <QTest>

#include <functional>

using namespace tavrin::core;
using tavrin::vocab::Attribute;

namespace {

// A window whose controls match its image, with nothing pending.
MainState syncedState()
{
    MainState s;
    for (int k = 0; k < kRows; ++k) {
        for (Attribute a : tavrin::vocab::kAttributes)
            s.selectRowCode(k, a, 1);
        s.config.rows[k].timeout = "30";
    }
    s.config.links[2] = { "", 1 };
    s.config.links[4] = { "444", 2 };
    s.config.links[5] = { "555", 0 };
    s.config.userCommand = "RESET";
    getChangedRows(s);
    s.flags = {};
    s.image.linkPriority[5].clear(); // an empty stored priority reads as 0
    return s;
}

int rowMask(const PendingFlags &f)
{
    int mask = 0;
    for (int k = 0; k < kRows; ++k)
        mask |= f.row[k] ? 1 << k : 0;
    return mask;
}

int linkMask(const PendingFlags &f)
{
    int mask = 0;
    for (int i = 0; i < kImageLinks; ++i)
        mask |= f.link[i] ? 1 << i : 0;
    return mask;
}

} // namespace

using Edit = std::function<void(MainState &)>;
Q_DECLARE_METATYPE(Edit)

class TestUpload : public QObject
{
    Q_OBJECT

private slots:
    void commands();
    void timeoutProblem_data();
    void timeoutProblem();
    void changedRows_data();
    void changedRows();
    void forceUpload();
    void sequencerOrderAndProgress();
    void sequencerWithNothingPending();
    void linkCommands_data();
    void linkCommands();
    void failedWriteCanBePutBack();
};

void TestUpload::commands()
{
    SignConfig c;
    c.rows[2] = { 3, 0, 1, 0, 0, 0, 0, "30" };
    // Distinct codes catch a field written in the wrong place.
    c.rows[0] = { 1, 3, 2, 5, 4, 6, 7, " 9x" };
    c.autoID = 1;
    UploadCommands cmd = uploadCommands(c);
    QCOMPARE(cmd[2], QString("<DF pr=2 f=3 c=1 s=0 a=0 sp=0 p=0 b=0 t=30>\r"));
    QCOMPARE(cmd[0], QString("<DF pr=0 f=1 c=2 s=3 a=4 sp=5 p=6 b=7 t= 9x>\r"));
    QCOMPARE(cmd[4], QString("<DF pr=4 f=-1 c=-1 s=-1 a=-1 sp=-1 p=-1 b=-1 t=>\r"));
    QCOMPARE(cmd[5], QString("<id=auto>\r"));
    QCOMPARE(cmd[6], QString("<UC>\r"));

    c.autoID = 0;
    c.userCommand = "RESET";
    cmd = uploadCommands(c);
    QCOMPARE(cmd[5], QString("<id=user>\r"));
    QCOMPARE(cmd[6], QString("<UC>RESET\r"));
}

void TestUpload::timeoutProblem_data()
{
    QTest::addColumn<QString>("timeout");
    QTest::addColumn<bool>("accepted");
    // clang-format off
    QTest::newRow("zero") << "0" << true;
    QTest::newRow("largest") << "32767" << true;
    QTest::newRow("leading zeros") << "007" << true;
    QTest::newRow("beyond 16 bits") << "32768" << false;
    QTest::newRow("far beyond") << "99999999999" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("surrounding blank") << " 30" << false;
    QTest::newRow("negative") << "-1" << false;
    QTest::newRow("fraction") << "1.5" << false;
    QTest::newRow("letters") << "30s" << false;
    QTest::newRow("non-ASCII digits") << QString::fromUtf8("\xd9\xa3") << false;
    // clang-format on
}

void TestUpload::timeoutProblem()
{
    QFETCH(QString, timeout);
    QFETCH(bool, accepted);
    SignConfig c = syncedState().config;
    c.rows[3].timeout = timeout;
    const std::optional<QString> problem = tavrin::core::timeoutProblem(c);
    QCOMPARE(!problem.has_value(), accepted);
    if (problem)
        QVERIFY2(problem->contains("Priority 3"), qPrintable(*problem));
}

void TestUpload::changedRows_data()
{
    QTest::addColumn<Edit>("edit");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("links");
    QTest::addColumn<bool>("autoID");
    QTest::addColumn<bool>("userCommand");
    QTest::addColumn<int>("maximum");

    // clang-format off
    QTest::newRow("nothing") << Edit([](MainState &) {}) << 0 << 0 << 0 << false << false << 1;
    QTest::newRow("timeout 30 to 45") << Edit([](MainState &s) { s.config.rows[3].timeout = "45"; }) << 1 << 0b1000 << 0 << false << false << 21;
    QTest::newRow("timeout same number") << Edit([](MainState &s) { s.config.rows[3].timeout = "030"; }) << 0 << 0 << 0 << false << false << 1;
    QTest::newRow("two codes of a row count once") << Edit([](MainState &s) { s.config.rows[0].font = 3; s.config.rows[0].style = 4; }) << 1 << 0b1 << 0 << false << false << 21;
    QTest::newRow("capcode and priority count twice") << Edit([](MainState &s) { s.config.links[2].capcode = "222"; }) << 2 << 0 << 0b100 << false << false << 21;
    QTest::newRow("cleared capcode") << Edit([](MainState &s) { s.config.links[4].capcode.clear(); }) << 1 << 0 << 0b10000 << false << false << 21;
    QTest::newRow("priority alone") << Edit([](MainState &s) { s.config.links[4].priority = 3; }) << 1 << 0 << 0b10000 << false << false << 21;
    QTest::newRow("priority without capcode") << Edit([](MainState &s) { s.config.links[2].priority = 4; }) << 0 << 0 << 0 << false << false << 1;
    QTest::newRow("unselected priority") << Edit([](MainState &s) { s.config.links[4].priority = -1; }) << 0 << 0 << 0 << false << false << 1;
    QTest::newRow("user command") << Edit([](MainState &s) { s.config.userCommand = "OTHER"; }) << 1 << 0 << 0 << false << true << 21;
    QTest::newRow("auto id") << Edit([](MainState &s) { s.config.autoID = 1; }) << 1 << 0 << 0 << true << false << 21;
    QTest::newRow("pending link alone counts 0") << Edit([](MainState &s) { s.flags.link[6] = true; }) << 0 << 0 << 0b1000000 << false << false << 21;
    QTest::newRow("pending auto id alone counts 0") << Edit([](MainState &s) { s.flags.autoID = true; }) << 0 << 0 << 0 << true << false << 21;
    QTest::newRow("pending row counts") << Edit([](MainState &s) { s.flags.row[1] = true; }) << 1 << 0b10 << 0 << false << false << 21;
    QTest::newRow("pending user command counts") << Edit([](MainState &s) { s.flags.userCommand = true; }) << 1 << 0 << 0 << false << true << 21;
    // clang-format on
}

void TestUpload::changedRows()
{
    QFETCH(Edit, edit);
    QFETCH(int, count);
    QFETCH(int, rows);
    QFETCH(int, links);
    QFETCH(bool, autoID);
    QFETCH(bool, userCommand);
    QFETCH(int, maximum);

    MainState s = syncedState();
    edit(s);
    QCOMPARE(getChangedRows(s), count);
    QCOMPARE(rowMask(s.flags), rows);
    QCOMPARE(linkMask(s.flags), links);
    QCOMPARE(s.flags.autoID, autoID);
    QCOMPARE(s.flags.userCommand, userCommand);
    QCOMPARE(uploadProgressMaximum(s.flags), maximum);

    // The image now holds what was detected: a second look finds nothing new.
    s.flags = {};
    QCOMPARE(getChangedRows(s), 0);
    QCOMPARE(s.flags, PendingFlags {});
}

void TestUpload::forceUpload()
{
    MainState s = syncedState();
    markAllPending(s.flags);
    QCOMPARE(uploadProgressMaximum(s.flags), 301);
    QCOMPARE(getChangedRows(s), 5 + 1); // rows and user command; links and ID mode are not counted

    PendingFlags onlyImageSlot;
    onlyImageSlot.link[8] = true;
    QCOMPARE(uploadProgressMaximum(onlyImageSlot), 1);
}

void TestUpload::sequencerOrderAndProgress()
{
    MainState s = syncedState();
    s.config.links[6] = { "123456", 2 };
    s.flags.row[1] = s.flags.row[3] = s.flags.link[6] = true;
    const UploadCommands commands = uploadCommands(s.config);
    s.progressMaximum = uploadProgressMaximum(s.flags);
    QCOMPARE(s.progressMaximum, 61);
    s.progressValue = 0;
    s.progressVisible = true;

    UploadStep step = uploadTick(s, commands);
    QCOMPARE(step.first, commands[1]);
    QVERIFY(!step.pauseThenSecond);
    QCOMPARE(s.progressValue, 20);
    step = uploadTick(s, commands);
    QCOMPARE(step.first, commands[3]);
    QCOMPARE(s.progressValue, 40);
    step = uploadTick(s, commands);
    QCOMPARE(step.first, QString("<link id=6 cap=0>\r"));
    QVERIFY(step.pauseThenSecond);
    QCOMPARE(step.second, QString("<link id=6 cap=123456 pr=2>\r"));
    QCOMPARE(s.progressValue, 60);
    QVERIFY(s.progressVisible);
    QVERIFY(!step.finished);
    step = uploadTick(s, commands);
    QVERIFY(step.finished);
    QVERIFY(step.first.isEmpty() && step.second.isEmpty());
    QCOMPARE(s.progressValue, 61);
    QVERIFY(!s.progressVisible);

    // Everything pending goes out rows first, then the ID mode, the user command, links 0-7.
    markAllPending(s.flags);
    QList<UploadItem> order;
    for (step = uploadTick(s, commands); !step.finished; step = uploadTick(s, commands))
        order << step.item;
    QCOMPARE(order.size(), 15);
    QCOMPARE(order[4], (UploadItem { UploadItem::Kind::Row, 4 }));
    QCOMPARE(order[5].kind, UploadItem::Kind::AutoID);
    QCOMPARE(order[6].kind, UploadItem::Kind::UserCommand);
    QCOMPARE(order[7], (UploadItem { UploadItem::Kind::Link, 0 }));
    QCOMPARE(order[14], (UploadItem { UploadItem::Kind::Link, 7 }));
}

void TestUpload::sequencerWithNothingPending()
{
    MainState s = syncedState();
    s.progressMaximum = uploadProgressMaximum(s.flags);
    s.progressValue = 0;
    s.progressVisible = true;
    const UploadStep step = uploadTick(s, uploadCommands(s.config));
    QVERIFY(step.finished);
    QVERIFY(step.first.isEmpty());
    QCOMPARE(s.progressValue, 0);
    QVERIFY(!s.progressVisible);
}

void TestUpload::linkCommands_data()
{
    QTest::addColumn<QString>("capcode");
    QTest::addColumn<int>("priority");
    QTest::addColumn<QString>("second"); // empty: only the clearing command
    QTest::addColumn<QString>("capcodeAfter");
    QTest::addColumn<int>("priorityAfter");

    // clang-format off
    QTest::newRow("empty clears") << "" << 2 << "" << "" << -1;
    QTest::newRow("zero clears") << "0" << 2 << "" << "" << -1;
    QTest::newRow("no leading number clears") << "abc" << 1 << "" << "" << -1;
    QTest::newRow("leading zeros still a number") << "007" << 1 << "<link id=3 cap=007 pr=1>\r" << "007" << 1;
    QTest::newRow("several capcodes as typed") << "12,34" << 4 << "<link id=3 cap=12,34 pr=4>\r" << "12,34" << 4;
    QTest::newRow("missing priority becomes 0") << "55" << -1 << "<link id=3 cap=55 pr=0>\r" << "55" << 0;
    // clang-format on
}

void TestUpload::linkCommands()
{
    QFETCH(QString, capcode);
    QFETCH(int, priority);
    QFETCH(QString, second);
    QFETCH(QString, capcodeAfter);
    QFETCH(int, priorityAfter);

    MainState s;
    s.config.links[3] = { capcode, Code(priority) };
    s.flags.link[3] = true;
    const UploadStep step = uploadTick(s, uploadCommands(s.config));
    QCOMPARE(step.first, QString("<link id=3 cap=0>\r"));
    QCOMPARE(step.pauseThenSecond, !second.isEmpty());
    QCOMPARE(step.second, second);
    QCOMPARE(s.config.links[3].capcode, capcodeAfter);
    QCOMPARE(int(s.config.links[3].priority), priorityAfter);
    QVERIFY(!s.flags.link[3]);
}

void TestUpload::failedWriteCanBePutBack()
{
    MainState s;
    s.flags.row[2] = s.flags.autoID = s.flags.link[7] = true;
    s.config.links[7] = { "1", 0 };
    const UploadCommands commands = uploadCommands(s.config);
    int taken = 0;
    for (;;) {
        const PendingFlags beforeTick = s.flags;
        const UploadStep step = uploadTick(s, commands);
        if (step.finished) {
            QCOMPARE(step.item.kind, UploadItem::Kind::None);
            break;
        }
        QVERIFY(s.flags != beforeTick);
        PendingFlags restored = s.flags;
        markPending(restored, step.item);
        QCOMPARE(restored, beforeTick);
        ++taken;
    }
    QCOMPARE(taken, 3);
}

QTEST_GUILESS_MAIN(TestUpload)
#include "tst_upload.moc"
