#include "vocab/ModelProfile.h"

#include <QTest>

using namespace tavrin::vocab;

class TestModelProfiles : public QObject
{
    Q_OBJECT

private slots:
    void profiles_data();
    void profiles();
    void defaultMessageProfile_data();
    void defaultMessageProfile();
};

void TestModelProfiles::profiles_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("vx903");
    QTest::newRow("VX903") << "VX903" << true;
    QTest::newRow("KR4410") << "KR4410" << false;
    QTest::newRow("other") << "AB1234" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("lower case") << "vx903" << false;
    QTest::newRow("trailing blank") << "VX903 " << false;
}

// The main and test-message windows know two profiles, picked by the exact model name.
void TestModelProfiles::profiles()
{
    QFETCH(QString, model);
    QFETCH(bool, vx903);
    const MainProfile main = mainProfile(model);
    const TestMessageProfile test = testMessageProfile(model);
    QCOMPARE(main.vx903, vx903);
    QCOMPARE(test.vx903, vx903);
    QCOMPARE(main.speedAndAlignmentEnabled, !vx903);
    QCOMPARE(int(main.style.size()), vx903 ? 23 : 28);
    QCOMPARE(QString::fromLatin1(main.font[6]),
             vx903 ? QStringLiteral("Normal") : QStringLiteral("Seven Row Shade"));
    // Narrow fonts make room for the effects, which still end before the colour column.
    QVERIFY(1140 + main.fontWidth <= main.styleLeft);
    QVERIFY(main.styleLeft + main.styleWidth <= 4860);
    QCOMPARE(test.timeControlsVisible, !vx903);
    QCOMPARE(test.timeFormatCount, vx903 ? 0 : 8);
    QCOMPARE(int(test.beep.size()), 3);
}

void TestModelProfiles::defaultMessageProfile_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("insertTime"); // -1 unchanged, 0 hidden, 1 shown
    QTest::addColumn<int>("timeFormat");
    QTest::addColumn<int>("timeOnIdle");
    QTest::addColumn<int>("fonts");
    QTest::addColumn<int>("timeFormats");

    QTest::newRow("VX903") << "VX903" << 0 << 1 << 1 << 4 << 4;
    QTest::newRow("KR4410") << "KR4410" << 1 << 1 << 0 << 25 << 8;
    QTest::newRow("TM207") << "TM207" << 0 << 0 << 0 << 25 << 8;
    QTest::newRow("other leaves lists empty") << "QX100" << -1 << -1 << -1 << 0 << 8;
    QTest::newRow("lower-case kr4410 is other") << "kr4410" << -1 << -1 << -1 << 0 << 8;
}

// The default-message window tells four cases apart.
void TestModelProfiles::defaultMessageProfile()
{
    QFETCH(QString, model);
    QFETCH(int, insertTime);
    QFETCH(int, timeFormat);
    QFETCH(int, timeOnIdle);
    QFETCH(int, fonts);
    QFETCH(int, timeFormats);

    const auto state = [](std::optional<bool> v) {
        return v ? int(*v) : -1;
    };
    const DefaultMessageProfile p = tavrin::vocab::defaultMessageProfile(model);
    QCOMPARE(state(p.insertTimeVisible), insertTime);
    QCOMPARE(state(p.timeFormatVisible), timeFormat);
    QCOMPARE(state(p.timeOnIdleVisible), timeOnIdle);
    QCOMPARE(int(p.font.size()), fonts);
    QCOMPARE(int(p.pause.size()), fonts ? 10 : 0);
    QCOMPARE(p.layout.has_value(), model == QStringLiteral("VX903"));
    QCOMPARE(p.speedAndAlignmentDisabled, model == QStringLiteral("VX903"));
    QCOMPARE(defaultMessageTimeFormatCount(model), timeFormats);
}

QTEST_APPLESS_MAIN(TestModelProfiles)
#include "tst_model_profiles.moc"
