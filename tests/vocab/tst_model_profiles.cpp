#include "vocab/ModelProfile.h"

#include <QTest>

using namespace tavrin::vocab;

class TestModelProfiles : public QObject
{
    Q_OBJECT

private slots:
    void mainProfile_data();
    void mainProfile();
    void testMessageProfile_data();
    void testMessageProfile();
    void defaultMessageProfile_data();
    void defaultMessageProfile();
    void defaultMessageTimeFormats();
};

void TestModelProfiles::mainProfile_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("vx903");

    QTest::newRow("VX903") << "VX903" << true;
    QTest::newRow("KR4410") << "KR4410" << false;
    QTest::newRow("TM207") << "TM207" << false;
    QTest::newRow("other") << "AB1234" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("lower case vx903") << "vx903" << false;
    QTest::newRow("trailing blank") << "VX903 " << false;
    QTest::newRow("leading blank") << " VX903" << false;
}

void TestModelProfiles::mainProfile()
{
    QFETCH(QString, model);
    QFETCH(bool, vx903);
    const MainProfile p = tavrin::vocab::mainProfile(model);
    QCOMPARE(p.vx903, vx903);
    QCOMPARE(p.speedAndAlignmentEnabled, !vx903);
    QCOMPARE(p.fontWidth, vx903 ? 1500 : 2280);
    QCOMPARE(p.styleLeft, vx903 ? 2760 : 3510);
    QCOMPARE(p.styleWidth, vx903 ? 2000 : 1250);
    // The wider effect list still ends before the colour column at 4860.
    QVERIFY(p.styleLeft + p.styleWidth <= 4860);
    QVERIFY(1140 + p.fontWidth <= p.styleLeft);

    QCOMPARE(int(p.font.size()), 25);
    QCOMPARE(int(p.color.size()), 13);
    QCOMPARE(int(p.style.size()), vx903 ? 23 : 28);
    QCOMPARE(QString::fromLatin1(p.font[19]), vx903 ? QStringLiteral("Tall") : QStringLiteral("15/16 Row Normal"));
    for (Attribute a : { Attribute::Alignment, Attribute::Speed, Attribute::Pause, Attribute::Beep })
        QCOMPARE(toStringList(p.vocabulary(a)), toStringList(standardVocabulary(a)));
}

void TestModelProfiles::testMessageProfile_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<bool>("vx903");
    QTest::newRow("VX903") << "VX903" << true;
    QTest::newRow("KR4410") << "KR4410" << false;
    QTest::newRow("TM207") << "TM207" << false;
    QTest::newRow("other") << "XYZ" << false;
    QTest::newRow("case differs") << "Vx903" << false;
}

void TestModelProfiles::testMessageProfile()
{
    QFETCH(QString, model);
    QFETCH(bool, vx903);
    const TestMessageProfile p = tavrin::vocab::testMessageProfile(model);
    QCOMPARE(p.vx903, vx903);
    QCOMPARE(p.timeControlsVisible, !vx903);
    QCOMPARE(p.speedAndAlignmentEnabled, !vx903);
    QCOMPARE(p.timeFormatCount, vx903 ? 0 : 8);
    QCOMPARE(p.timeFormatSelection, vx903 ? -1 : 0);
    QCOMPARE(p.fontListWidth, vx903 ? 1500 : 2640);
    QCOMPARE(p.styleListLeft, vx903 ? 2500 : 3435);
    QCOMPARE(p.styleHeadingLeft, p.styleListLeft);
    QCOMPARE(p.styleListWidth, vx903 ? 2000 : 1155);
    QCOMPARE(int(p.beep.size()), 3);
    QCOMPARE(int(p.style.size()), vx903 ? 23 : 28);
}

void TestModelProfiles::defaultMessageProfile_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("insertTime");  // -1 unchanged, 0 hidden, 1 shown
    QTest::addColumn<int>("timeFormat");
    QTest::addColumn<int>("timeOnIdle");
    QTest::addColumn<int>("fonts");
    QTest::addColumn<int>("effects");
    QTest::addColumn<bool>("vxLayout");

    QTest::newRow("VX903") << "VX903" << 0 << 1 << 1 << 4 << 23 << true;
    QTest::newRow("KR4410") << "KR4410" << 1 << 1 << 0 << 25 << 28 << false;
    QTest::newRow("TM207") << "TM207" << 0 << 0 << 0 << 25 << 28 << false;
    QTest::newRow("other") << "QX100" << -1 << -1 << -1 << 0 << 0 << false;
    QTest::newRow("lower-case kr4410 is other") << "kr4410" << -1 << -1 << -1 << 0 << 0 << false;
}

void TestModelProfiles::defaultMessageProfile()
{
    QFETCH(QString, model);
    QFETCH(int, insertTime);
    QFETCH(int, timeFormat);
    QFETCH(int, timeOnIdle);
    QFETCH(int, fonts);
    QFETCH(int, effects);
    QFETCH(bool, vxLayout);

    const auto state = [](std::optional<bool> v) { return v ? int(*v) : -1; };
    const DefaultMessageProfile p = tavrin::vocab::defaultMessageProfile(model);
    QCOMPARE(state(p.insertTimeVisible), insertTime);
    QCOMPARE(state(p.timeFormatVisible), timeFormat);
    QCOMPARE(state(p.timeOnIdleVisible), timeOnIdle);
    QCOMPARE(int(p.font.size()), fonts);
    QCOMPARE(int(p.style.size()), effects);
    QCOMPARE(p.layout.has_value(), vxLayout);
    QCOMPARE(p.speedAndAlignmentDisabled, vxLayout);
    QVERIFY(p.vocabulary(Attribute::Beep).empty());
    if (vxLayout) {
        QCOMPARE(p.layout->fontListWidth, 1500);
        QCOMPARE(p.layout->colorListLeft, 2400);
        QCOMPARE(p.layout->styleListLeft, 3660);
        QCOMPARE(p.layout->styleListWidth, 2000);
        // "Tall" is code 2 here, where the main window uses 19.
        QCOMPARE(QString::fromLatin1(p.font[2]), QStringLiteral("Tall"));
    }
    const int standardLists = fonts ? 10 : 0;
    QCOMPARE(int(p.pause.size()), standardLists);
}

void TestModelProfiles::defaultMessageTimeFormats()
{
    QCOMPARE(defaultMessageTimeFormatCount(QStringLiteral("VX903")), 4);
    QCOMPARE(defaultMessageTimeFormatCount(QStringLiteral("TM207")), 8);
    QCOMPARE(defaultMessageTimeFormatCount(QString()), 8);
}

QTEST_APPLESS_MAIN(TestModelProfiles)
#include "tst_model_profiles.moc"
