#include "vocab/Vocabulary.h"

#include <QTest>

using namespace tavrin::vocab;

class TestVocabulary : public QObject
{
    Q_OBJECT

private slots:
    void positions_data();
    void positions();
    void displayColours();
    void smallVocabularies();
    void selectByCode_data();
    void selectByCode();
};

void TestVocabulary::positions_data()
{
    QTest::addColumn<QStringList>("list");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");

    const auto std = [](Attribute a) { return toStringList(standardVocabulary(a)); };
    const auto vx = [](Attribute a) { return toStringList(vx903Vocabulary(a)); };

    QTest::newRow("font first") << std(Attribute::Font) << 25 << 0 << "Small";
    QTest::newRow("font 9 is one of two twins") << std(Attribute::Font) << 25 << 9 << "Seven Row Color Shade";
    QTest::newRow("font 13") << std(Attribute::Font) << 25 << 13 << "Seven Row Wide Shade Fancy";
    QTest::newRow("font 14 is the other twin") << std(Attribute::Font) << 25 << 14 << "Seven Row Color Shade";
    QTest::newRow("font 15 after twin") << std(Attribute::Font) << 25 << 15 << "Ten Row Normal";
    QTest::newRow("font last") << std(Attribute::Font) << 25 << 24 << "Shade 31";
    QTest::newRow("colour 0") << std(Attribute::Color) << 13 << 0 << "Auto";
    QTest::newRow("colour 12") << std(Attribute::Color) << 13 << 12 << "Black";
    QTest::newRow("effect 6 capitalised") << std(Attribute::Style) << 28 << 6 << "Roll in";
    QTest::newRow("effect last") << std(Attribute::Style) << 28 << 27 << "roll+hold";
    QTest::newRow("alignment") << std(Attribute::Alignment) << 3 << 2 << "Center";
    QTest::newRow("speed") << std(Attribute::Speed) << 5 << 4 << "Slower";
    QTest::newRow("pause") << std(Attribute::Pause) << 10 << 7 << "7";
    QTest::newRow("beep") << std(Attribute::Beep) << 3 << 0 << "OFF";
    QTest::newRow("vx font filler") << vx(Attribute::Font) << 25 << 0 << "----";
    QTest::newRow("vx font Normal") << vx(Attribute::Font) << 25 << 6 << "Normal";
    QTest::newRow("vx font Fat") << vx(Attribute::Font) << 25 << 7 << "Fat";
    QTest::newRow("vx font Tall") << vx(Attribute::Font) << 25 << 19 << "Tall";
    QTest::newRow("vx font Large") << vx(Attribute::Font) << 25 << 21 << "Large";
    QTest::newRow("vx font filler 22") << vx(Attribute::Font) << 25 << 22 << "----";
    QTest::newRow("vx colour Red") << vx(Attribute::Color) << 13 << 3 << "Red";
    QTest::newRow("vx colour Orange") << vx(Attribute::Color) << 13 << 8 << "Orange";
    QTest::newRow("vx colour filler") << vx(Attribute::Color) << 13 << 12 << "---";
    QTest::newRow("vx effect 11") << vx(Attribute::Style) << 23 << 11 << "Cover DOWN";
    QTest::newRow("vx effect 12 typo kept") << vx(Attribute::Style) << 23 << 12 << "Boarder";
    QTest::newRow("vx effect 17 twin") << vx(Attribute::Style) << 23 << 17 << "Cover DOWN";
    QTest::newRow("vx beep is standard") << vx(Attribute::Beep) << 3 << 2 << "Fast";
    QTest::newRow("vx default-message fonts") << toStringList(vx903DefaultMessageFonts()) << 4 << 2 << "Tall";
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

void TestVocabulary::displayColours()
{
    const auto &colors = displayColors();
    QCOMPARE(colors[0], (Rgb { 118, 129, 97 }));
    QCOMPARE(colors[8], (Rgb { 255, 138, 21 }));
    QCOMPARE(colors[12], (Rgb { 0, 0, 0 }));
    // The three mixes share one grey.
    QCOMPARE(colors[9], (Rgb { 128, 128, 128 }));
    QCOMPARE(colors[10], colors[9]);
    QCOMPARE(colors[11], colors[9]);
}

void TestVocabulary::smallVocabularies()
{
    QCOMPARE(portEntries().size(), 12);
    QCOMPARE(portEntries().first(), QStringLiteral("COM 1"));
    QCOMPARE(portEntries().last(), QStringLiteral("COM 12"));
    QCOMPARE(priorityEntries(),
             QStringList({ "Priority 0", "Priority 1", "Priority 2", "Priority 3", "Priority 4" }));
    QCOMPARE(linkLabel(7), QStringLiteral("ID   7"));
    QCOMPARE(messageIdEntries().size(), 8);
    QCOMPARE(messageIdEntries().last(), QStringLiteral("7"));
    QCOMPARE(timeFormatEntries(4),
             QStringList({ "hh:mm:ss", "hh:mm:ss A/PM", "hh:mm", "hh:mm A/PM" }));
    QCOMPARE(timeFormatEntries().last(), QStringLiteral("mm'dd'yy"));
    QCOMPARE(QString::fromLatin1(timeFormats()[6].marker), QStringLiteral("<dd.MM yyyy>"));
    QCOMPARE(QString::fromLatin1(timeFormats()[6].code), QStringLiteral("$T6"));
    QVERIFY(!timeFormats()[3].isDate);
    QVERIFY(timeFormats()[4].isDate);
}

void TestVocabulary::selectByCode_data()
{
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("expected");

    QTest::newRow("valid code selects") << -1 << 14 << 25 << 14;
    QTest::newRow("first position") << 5 << 0 << 25 << 0;
    QTest::newRow("last position") << 0 << 24 << 25 << 24;
    QTest::newRow("-1 clears") << 2 << -1 << 3 << -1;
    QTest::newRow("at length keeps") << 1 << 3 << 3 << 1;
    QTest::newRow("beyond keeps") << 1 << 13 << 3 << 1;
    QTest::newRow("below -1 keeps") << 2 << -2 << 3 << 2;
    QTest::newRow("empty list keeps nothing") << -1 << 0 << 0 << -1;
    QTest::newRow("vx effect code 23 missing") << 4 << 23 << 23 << 4;
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
