#include "vocab/Vocabulary.h"

#include <QTest>

using namespace tavrin::vocab;

class TestVocabulary : public QObject
{
    Q_OBJECT

private slots:
    void positions_data();
    void positions();
    void selectByCode_data();
    void selectByCode();
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
    QTest::newRow("font last") << std(Attribute::Font) << 25 << 24 << "Shade 31";
    QTest::newRow("colour last") << std(Attribute::Color) << 13 << 12 << "Black";
    QTest::newRow("effect 6 capitalised") << std(Attribute::Style) << 28 << 6 << "Roll in";
    QTest::newRow("effect last") << std(Attribute::Style) << 28 << 27 << "roll+hold";
    QTest::newRow("alignment") << std(Attribute::Alignment) << 3 << 2 << "Center";
    QTest::newRow("speed") << std(Attribute::Speed) << 5 << 4 << "Slower";
    QTest::newRow("pause is its digit") << std(Attribute::Pause) << 10 << 7 << "7";
    QTest::newRow("beep") << std(Attribute::Beep) << 3 << 0 << "OFF";
    QTest::newRow("vx fonts keep their codes") << vx(Attribute::Font) << 25 << 19 << "Tall";
    QTest::newRow("vx font filler") << vx(Attribute::Font) << 25 << 20 << "----";
    QTest::newRow("vx colours keep their codes") << vx(Attribute::Color) << 13 << 8 << "Orange";
    QTest::newRow("vx effect typo kept") << vx(Attribute::Style) << 23 << 12 << "Boarder";
    QTest::newRow("vx effect 17 twin of 11") << vx(Attribute::Style) << 23 << 17 << "Cover DOWN";
    QTest::newRow("vx beep is standard") << vx(Attribute::Beep) << 3 << 2 << "Fast";
    QTest::newRow("vx default-message fonts")
        << toStringList(vx903DefaultMessageFonts()) << 4 << 2 << "Tall";
    QTest::newRow("ports") << portEntries() << 12 << 11 << "COM 12";
    QTest::newRow("priorities") << priorityEntries() << 5 << 4 << "Priority 4";
    QTest::newRow("time formats") << timeFormatEntries() << 8 << 7 << "mm'dd'yy";
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

void TestVocabulary::selectByCode_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected");

    QTest::newRow("valid code selects") << -1 << 14 << 25 << 14;
    QTest::newRow("last position") << 0 << 24 << 25 << 24;
    QTest::newRow("-1 clears") << 2 << -1 << 3 << -1;
    QTest::newRow("at length keeps") << 1 << 3 << 3 << 1;
    QTest::newRow("beyond keeps") << 1 << 13 << 3 << 1;
    QTest::newRow("below -1 keeps") << 2 << -2 << 3 << 2;
    QTest::newRow("empty list keeps nothing") << -1 << 0 << 0 << -1;
}

void TestVocabulary::selectByCode()
{
    QFETCH(int, current);
    QFETCH(int, code);
    QFETCH(int, count);
    QFETCH(int, expected);
    QCOMPARE(tavrin::vocab::selectByCode(current, code, count), expected);
}

QTEST_APPLESS_MAIN(TestVocabulary)
#include "tst_vocabulary.moc"
