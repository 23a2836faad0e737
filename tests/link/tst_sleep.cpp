#include "link/Sleep.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

using tavrin::link::sleepTicks;

// Loose: timers may run late on a busy machine, never early.
static constexpr qint64 kLateMarginMs = 2000;
static constexpr qint64 kEarlyToleranceMs = 2;

class TestSleep : public QObject
{
    Q_OBJECT

private slots:
    void duration_data();
    void duration();
    void nesting_data();
    void nesting();
};

void TestSleep::duration_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("runsEvents");

    QTest::newRow("negative returns at once") << -5 << false;
    QTest::newRow("zero returns at once") << 0 << false;
    QTest::newRow("one tick") << 1 << true;
    QTest::newRow("thirty ticks, the port search probe") << 30 << true;
}

void TestSleep::duration()
{
    QFETCH(int, count);
    QFETCH(bool, runsEvents);

    bool ran = false;
    QTimer::singleShot(0, this, [&ran] { ran = true; });
    QElapsedTimer clock;
    clock.start();
    sleepTicks(count);
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(ran, runsEvents);
    const qint64 expected = qMax(count, 0) * qint64(tavrin::link::kSleepTick.count());
    QVERIFY2(elapsed >= expected - kEarlyToleranceMs, qPrintable(QString::number(elapsed)));
    QVERIFY2(elapsed < expected + kLateMarginMs, qPrintable(QString::number(elapsed)));
}

// A handler that runs during an outer wait sleeps again; each wait keeps its own count.
void TestSleep::nesting_data()
{
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("inner");

    QTest::newRow("inner wait ends first") << 20 << 5;
    QTest::newRow("inner wait outlasts the outer one") << 3 << 15;
}

void TestSleep::nesting()
{
    QFETCH(int, outer);
    QFETCH(int, inner);
    const qint64 tick = tavrin::link::kSleepTick.count();

    QElapsedTimer clock;
    qint64 innerStart = -1;
    qint64 innerEnd = -1;
    QTimer::singleShot(0, this, [&] {
        innerStart = clock.elapsed();
        sleepTicks(inner);
        innerEnd = clock.elapsed();
    });
    clock.start();
    sleepTicks(outer);
    const qint64 outerEnd = clock.elapsed();

    QVERIFY(innerStart >= 0);
    QVERIFY(innerEnd >= 0); // the outer wait cannot return from under the inner one
    QVERIFY(innerEnd - innerStart >= inner * tick - kEarlyToleranceMs);
    QVERIFY(outerEnd >= outer * tick - kEarlyToleranceMs);
    QVERIFY(outerEnd >= innerEnd);
    QVERIFY2(outerEnd < qMax(outer, inner) * tick + kLateMarginMs,
             qPrintable(QString::number(outerEnd)));
}

QTEST_GUILESS_MAIN(TestSleep)
#include "tst_sleep.moc"
