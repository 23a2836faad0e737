#include "storage/Windows1252.h"

#include <QTest>

using namespace tavrin::storage;

class TestWindows1252 : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void unmappable_data();
    void unmappable();
};

void TestWindows1252::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ASCII unchanged") << "Pri0:1,2" << QByteArray("Pri0:1,2");
    QTest::newRow("euro is 0x80") << QString(QChar(0x20AC)) << QByteArray("\x80");
    QTest::newRow("low quote 0x82") << QString(QChar(0x201A)) << QByteArray("\x82");
    QTest::newRow("S caron 0x8A") << QString(QChar(0x0160)) << QByteArray("\x8A");
    QTest::newRow("en dash 0x96") << QString(QChar(0x2013)) << QByteArray("\x96");
    QTest::newRow("Y diaeresis 0x9F last of table") << QString(QChar(0x0178)) << QByteArray("\x9F");
    QTest::newRow("undefined 0x81 survives") << QString(QChar(0x81)) << QByteArray("\x81");
    QTest::newRow("undefined 0x9D survives") << QString(QChar(0x9D)) << QByteArray("\x9D");
    QTest::newRow("e acute is Latin-1") << QString(QChar(0xE9)) << QByteArray("\xE9");
    QTest::newRow("line-break character 170") << QString(QChar(0xAA)) << QByteArray("\xAA");
    QTest::newRow("nbsp and y diaeresis ends")
        << QString(QChar(0xA0)) + QChar(0xFF) << QByteArray("\xA0\xFF");
    QTest::newRow("NUL kept") << QString(QChar(0)) << QByteArray(1, '\0');
}

void TestWindows1252::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toWindows1252(text), bytes);
    QCOMPARE(fromWindows1252(bytes), text);
}

void TestWindows1252::unmappable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("greek alpha") << "a" + QString(QChar(0x03B1)) + "b" << QByteArray("a?b");
    QTest::newRow("C1 control that 1252 maps elsewhere") << QString(QChar(0x80)) << QByteArray("?");
    QTest::newRow("surrogate pair is one character")
        << QString::fromUcs4(U"x\U0001F600y") << QByteArray("x?y");
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QByteArray("?");
}

void TestWindows1252::unmappable()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(toWindows1252(text), bytes);
}

QTEST_APPLESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
