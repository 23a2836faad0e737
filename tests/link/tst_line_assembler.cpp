#include "LineAssembler.h"

#include <QTest>

using tavrin::link::LineAssembler;

class TestLineAssembler : public QObject
{
    Q_OBJECT

private slots:
    void assembly_data();
    void assembly();
};

// Each chunk is one receive event, followed by the given number of DataTimeout ticks.
void TestLineAssembler::assembly_data()
{
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QList<int>>("ticksAfter");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("unfinished");

    // A line over the bound is dropped up to its line feed or idle drop, across events.
    constexpr qsizetype max = LineAssembler::kMaxLineLength;
    const QByteArray full(max, 'x');
    // clang-format off
    QTest::newRow("split over events is joined, each event restarts ten idle ticks") << QByteArrayList { "ab", "cd", "ef\n" } << QList<int> { 10, 10, 0 } << QStringList { "abcdef" } << QString();
    QTest::newRow("eleventh idle tick drops the line and ends the wait") << QByteArrayList { "abc", "def\n", "gh" } << QList<int> { 11, 0, 11 } << QStringList { "def" } << QString();
    QTest::newRow("line feeds inside a burst end lines at once") << QByteArrayList { "Auto ID\nUser ID\nlin" } << QList<int> { 0 } << QStringList { "Auto ID", "User ID" } << QStringLiteral("lin");
    QTest::newRow("bytes above 127 are Latin-1, NUL is ordinary") << QByteArrayList { QByteArray("a\0\xe9\xff\n", 5) } << QList<int> { 0 } << QStringList { QStringLiteral("a\0\u00e9\u00ff") } << QString();
    QTest::newRow("a line at the bound is delivered") << QByteArrayList { full, "\n" } << QList<int> { 0, 0 } << QStringList { QString::fromLatin1(full) } << QString();
    QTest::newRow("one more character drops it whole, the next line survives") << QByteArrayList { full, "x", "tail\nnext\n" } << QList<int> { 0, 0, 0 } << QStringList { "next" } << QString();
    QTest::newRow("idle drop ends an overlong line too") << QByteArrayList { full + full, "next\n" } << QList<int> { 11, 0 } << QStringList { "next" } << QString();
    // clang-format on
}

void TestLineAssembler::assembly()
{
    QFETCH(QByteArrayList, chunks);
    QFETCH(QList<int>, ticksAfter);
    QFETCH(QStringList, lines);
    QFETCH(QString, unfinished);

    LineAssembler assembler;
    QStringList received;
    for (qsizetype i = 0; i < chunks.size(); ++i) {
        received += assembler.feed(chunks.at(i));
        QVERIFY(assembler.replyLine().size() <= LineAssembler::kMaxLineLength);
        for (int t = 0; t < ticksAfter.at(i); ++t)
            assembler.tick();
    }
    QCOMPARE(received, lines);
    QCOMPARE(assembler.replyLine(), unfinished);
    QCOMPARE(assembler.isWaiting(), !unfinished.isEmpty());
    assembler.feed({}); // an empty read is no chunk
    QCOMPARE(assembler.lastChunk(), QString::fromLatin1(chunks.last()));
}

QTEST_GUILESS_MAIN(TestLineAssembler)
#include "tst_line_assembler.moc"
