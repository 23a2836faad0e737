#include "link/LineAssembler.h"

#include <QTest>

using tavrin::link::LineAssembler;

class TestLineAssembler : public QObject
{
    Q_OBJECT

private slots:
    void assembly_data();
    void assembly();
    void lengthBound_data();
    void lengthBound();
    void lastChunkIsLatestRead();
};

// Each chunk is one receive event, followed by the given number of DataTimeout ticks.
void TestLineAssembler::assembly_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QList<int>>("ticksAfter");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("unfinished");
    QTest::addColumn<bool>("waiting");

    QTest::newRow("split over events is joined")
        << QByteArrayList { "DOWN", "LOAD", "\n" } << QList<int> { 3, 5, 0 }
        << QStringList { "DOWNLOAD" } << QString() << false;
    QTest::newRow("line feed inside a burst ends the line at once")
        << QByteArrayList { "done\nlin" } << QList<int> { 0 } << QStringList { "done" }
        << QStringLiteral("lin") << true;
    QTest::newRow("two lines in one burst")
        << QByteArrayList { "Auto ID\nUser ID\n" } << QList<int> { 0 }
        << QStringList { "Auto ID", "User ID" } << QString() << false;
    QTest::newRow("carriage return stays in the line")
        << QByteArrayList { "done\r\n" } << QList<int> { 0 } << QStringList { "done\r" }
        << QString() << false;
    QTest::newRow("blanks are not trimmed") << QByteArrayList { " done \n" } << QList<int> { 0 }
                                            << QStringList { " done " } << QString() << false;
    QTest::newRow("line feed alone is an empty line")
        << QByteArrayList { "\n", "\n" } << QList<int> { 0, 0 } << QStringList { "", "" }
        << QString() << false;
    QTest::newRow("ten idle ticks keep the line")
        << QByteArrayList { "abc", "def\n" } << QList<int> { 10, 0 } << QStringList { "abcdef" }
        << QString() << false;
    QTest::newRow("eleventh idle tick drops it, the rest is a line of its own")
        << QByteArrayList { "abc", "def\n" } << QList<int> { 11, 0 } << QStringList { "def" }
        << QString() << false;
    QTest::newRow("each event restarts the idle count")
        << QByteArrayList { "ab", "cd", "ef\n" } << QList<int> { 10, 10, 0 }
        << QStringList { "abcdef" } << QString() << false;
    QTest::newRow("idle drop leaves nothing waiting")
        << QByteArrayList { "abc" } << QList<int> { 30 } << QStringList {} << QString() << false;
    QTest::newRow("ticks after a complete line change nothing")
        << QByteArrayList { "done\n", "x" } << QList<int> { 50, 2 } << QStringList { "done" }
        << QStringLiteral("x") << true;
    QTest::newRow("bytes above 127 are Latin-1 characters")
        << QByteArrayList { "a\xaa\xe9\xff\n" } << QList<int> { 0 }
        << QStringList { QStringLiteral("a\u00aa\u00e9\u00ff") } << QString() << false;
    QTest::newRow("NUL is an ordinary character")
        << QByteArrayList { QByteArray("a\0b\n", 4) } << QList<int> { 0 }
        << QStringList { QString::fromLatin1("a\0b", 3) } << QString() << false;
}

void TestLineAssembler::assembly()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QList<int>, ticksAfter);
    QFETCH(QStringList, lines);
    QFETCH(QString, unfinished);
    QFETCH(bool, waiting);

    LineAssembler assembler;
    QStringList received;
    for (qsizetype i = 0; i < chunks.size(); ++i) {
        received += assembler.feed(chunks.at(i));
        for (int t = 0; t < ticksAfter.at(i); ++t)
            assembler.tick();
    }
    QCOMPARE(received, lines);
    QCOMPARE(assembler.replyLine(), unfinished);
    QCOMPARE(assembler.isWaiting(), waiting);
}

void TestLineAssembler::lengthBound_data()
{
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<int>("ticksBeforeNext");
    QTest::addColumn<QStringList>("lines");

    constexpr qsizetype max = LineAssembler::kMaxLineLength;
    const QString full(max, QLatin1Char('x'));
    QTest::newRow("a line at the bound is delivered") << max << 0 << QStringList { full, "next" };
    QTest::newRow("a longer line is dropped whole, the next one survives")
        << max + 1 << 0 << QStringList { "next" };
    QTest::newRow("a far longer line is dropped as well") << 3 * max << 0 << QStringList { "next" };
    QTest::newRow("idle drop ends an overlong line too")
        << max + 10 << 11 << QStringList { "next" };
}

void TestLineAssembler::lengthBound()
{
    QFETCH(qsizetype, length);
    QFETCH(int, ticksBeforeNext);
    QFETCH(QStringList, lines);

    LineAssembler assembler;
    QStringList received;
    const QByteArray chunk(4096, 'x');
    for (qsizetype sent = 0; sent < length; sent += chunk.size()) {
        received += assembler.feed(chunk.left(qMin(chunk.size(), length - sent)));
        QVERIFY(assembler.replyLine().size() <= LineAssembler::kMaxLineLength);
    }
    if (ticksBeforeNext == 0) {
        received += assembler.feed("\n");
    } else {
        for (int t = 0; t < ticksBeforeNext; ++t)
            assembler.tick();
    }
    received += assembler.feed("next\n");
    QCOMPARE(received, lines);
}

void TestLineAssembler::lastChunkIsLatestRead()
{
    LineAssembler assembler;
    assembler.feed("first\n");
    assembler.feed("sec");
    QCOMPARE(assembler.lastChunk(), QStringLiteral("sec"));
    assembler.feed({});
    QCOMPARE(assembler.lastChunk(), QStringLiteral("sec"));
}

QTEST_GUILESS_MAIN(TestLineAssembler)
#include "tst_line_assembler.moc"
