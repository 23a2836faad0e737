#include "SignReplies.h"

#include "SignRecords.h"

#include <QTest>

using namespace tavrin::protocol;

namespace {

QString factoryLine(const QString &model)
{
    return tavrin::signsim::configurationLine(tavrin::signsim::SignState::factory(model), model,
                                              QStringLiteral("5"));
}

} // namespace

class TestSignReplies : public QObject
{
    Q_OBJECT

private slots:
    // Which reply confirms which command, and which refuses it; everything else is unrelated.
    void judge_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("line");
        QTest::addColumn<Verdict>("verdict");
        const QString config = factoryLine(QStringLiteral("KR4410"));
        // clang-format off
        QTest::newRow("row Undone") << "<DF pr=2 f=1>\r" << "Undone" << Verdict::Unrelated;
        QTest::newRow("row error") << "<DF pr=2 f=1>\r" << "error" << Verdict::Refuses;
        QTest::newRow("row noise with colon") << "<DF pr=2 f=1>\r" << "\x81\xfe#:~" << Verdict::Unrelated;
        QTest::newRow("link set, other id") << "<link id=6 cap=123 pr=0>\r" << "linked 5" << Verdict::Unrelated;
        QTest::newRow("link set, delinked") << "<link id=6 cap=123 pr=0>\r" << "delinked" << Verdict::Unrelated;
        QTest::newRow("test message") << "<id=3 f=1 s=1 c=1 a=1 b=1 p=1 sp=1 t=5>Hi\r" << "done" << Verdict::Confirms;
        QTest::newRow("test message, a configuration") << "<id=3 f=1>Hi\r" << config << Verdict::Unrelated;
        QTest::newRow("idle switch needs no answer, error too") << "<TIME>IDLE ON" << "error" << Verdict::Unrelated;
        QTest::newRow("download, whole line with done") << "DOWNLOAD_ALL\r" << factoryLine("done") << Verdict::Confirms;
        QTest::newRow("download, cut line") << "DOWNLOAD_ALL\r" << config.section(u',', 0, 20) << Verdict::Unrelated;
        QTest::newRow("download, error") << "DOWNLOAD_ALL\r" << "error" << Verdict::Refuses;
        QTest::newRow("download, done") << "DOWNLOAD_ALL\r" << "done" << Verdict::Unrelated;
        QTest::newRow("free text, anything") << "HELLO\r" << "whatever" << Verdict::Confirms;
        // clang-format on
    }

    void judge()
    {
        QFETCH(QString, command);
        QFETCH(QString, line);
        QFETCH(Verdict, verdict);
        QCOMPARE(tavrin::protocol::judge(expectationFor(command), line), verdict);
    }

    // A configuration line is whole only with every field, numbers where numbers belong.
    void wholeConfiguration_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<bool>("whole");
        const QString line = factoryLine(QStringLiteral("KR4410"));
        const int colon = int(line.indexOf(u':'));
        // clang-format off
        QTest::newRow("factory") << line << true;
        QTest::newRow("VX903 without build") << factoryLine("VX903").replace(QStringLiteral(",5:"), QStringLiteral(":")) << true;
        QTest::newRow("CR LF") << line + "\r" << true;
        QTest::newRow("user command with comma and colon") << line + ",more:text" << true;
        QTest::newRow("89 fields") << line.left(line.lastIndexOf(u',')) << false;
        QTest::newRow("NUL in a capcode") << QString(line).replace("123456", QString("123") + QChar(0) + "456") << false;
        QTest::newRow("letter in a code") << QString(line).insert(colon + 1, u'x') << false;
        QTest::newRow("empty capcode") << QString(line).replace(",123456,", ",,") << false;
        QTest::newRow("no model") << line.mid(line.indexOf(u':')) << false;
        // clang-format on
    }

    void wholeConfiguration()
    {
        QFETCH(QString, line);
        QFETCH(bool, whole);
        QCOMPARE(isWholeConfigurationLine(line), whole);
    }
};

QTEST_GUILESS_MAIN(TestSignReplies)
#include "tst_sign_replies.moc"
