#include "ModelProfile.h"
#include "Vocabulary.h"

#include <QTest>

using namespace tavrin::vocab;

// What the rest of the program relies on: codes are positions (twins included), and the exact
// model name that switches to the VX903 lists. Selection by code is held by the fuzz harnesses'
// list checks.
class TestVocabulary : public QObject
{
    Q_OBJECT

private slots:
    void positions_data();
    void positions();
    void vx903ByExactName();
};

void TestVocabulary::positions_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");

    const auto std = [](Attribute a) {
        return toStringList(standardVocabulary(a));
    };
    const auto vx = [](Attribute a) {
        return toStringList(vx903Vocabulary(a));
    };
    // Duplicated texts stay two entries, so every code after them keeps its position.
    QTest::newRow("font 9 is one twin")
        << std(Attribute::Font) << 25 << 9 << "Seven Row Color Shade";
    QTest::newRow("font 14 is the other")
        << std(Attribute::Font) << 25 << 14 << "Seven Row Color Shade";
    QTest::newRow("effect last") << std(Attribute::Style) << 28 << 27 << "roll+hold";
    QTest::newRow("vx effect typo kept") << vx(Attribute::Style) << 23 << 12 << "Boarder";
    QTest::newRow("vx effect 17 twin of 11") << vx(Attribute::Style) << 23 << 17 << "Cover DOWN";
    QTest::newRow("vx fonts keep their codes") << vx(Attribute::Font) << 25 << 19 << "Tall";
}

void TestVocabulary::positions()
{
    QFETCH(QStringList, list);
    QFETCH(int, count);
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(list.size(), count);
    QCOMPARE(list.at(code), text);
}

void TestVocabulary::vx903ByExactName()
{
    for (const char *model : { "KR4410", "", "vx903", "VX903 " }) {
        QVERIFY2(!mainProfile(QString::fromLatin1(model)).vx903, model);
        QVERIFY2(!testMessageProfile(QString::fromLatin1(model)).vx903, model);
        QVERIFY2(!defaultMessageProfile(QString::fromLatin1(model)).vx903, model);
    }
    const MainProfile vx = mainProfile(QStringLiteral("VX903"));
    QVERIFY(vx.vx903 && !vx.speedAndAlignmentEnabled);
    QVERIFY(testMessageProfile(QStringLiteral("VX903")).vx903);
    QVERIFY(defaultMessageProfile(QStringLiteral("VX903")).vx903);
}

QTEST_APPLESS_MAIN(TestVocabulary)
#include "tst_vocabulary.moc"
