#include "storage/Windows1252.h"

#include <QTest>

using namespace tavrin::storage;

class TestWindows1252 : public QObject
{
    Q_OBJECT

private slots:
    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("decodesBack");

        const auto u16 = [](std::u16string_view s) {
            return QString::fromUtf16(s.data(), qsizetype(s.size()));
        };
        QTest::newRow("ASCII, NUL and Latin-1 upper half with line break 170 unchanged")
            << u16(u"Pri0:1,\u00A0\u00AA\u00E9\u00FF") + QChar(0)
            << QByteArray("Pri0:1,\xA0\xAA\xE9\xFF\0", 12) << true;
        QTest::newRow("table first, middle and last; undefined 0x81 and 0x9D survive")
            << u16(u"\u20AC\u0160\u0178\u0081\u009D") << QByteArray("\x80\x8A\x9F\x81\x9D") << true;
        QTest::newRow("C1 control 0x80, greek alpha, trailing lone surrogate")
            << u16(u"\u0080a\u03B1b") + QChar(0xD800) << QByteArray("?a?b?") << false;
        QTest::newRow("surrogate pair is one character")
            << u16(u"x\U0001F600y") << QByteArray("x?y") << false;
    }

    void encode()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, decodesBack);
        QCOMPARE(toWindows1252(text), bytes);
        if (decodesBack)
            QCOMPARE(fromWindows1252(bytes), text);
    }
};

QTEST_APPLESS_MAIN(TestWindows1252)
#include "tst_windows1252.moc"
