#include "link/Sleep.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

using tavrin::link::sleepTicks;

// Loose: timers may run late on a busy machine, never early.
static constexpr qint64 kLateMarginMs = 2000;
static constexpr qint64 kEarlyToleranceMs = 2;
static constexpr qint64 kTickMs = tavrin::link::kSleepTick.count();

class TestSleep : public QObject
{
    Q_OBJECT

private slots:
    void waits_data();
    void waits();
};

// A handler that runs during the outer wait sleeps again; each wait keeps its own count.
void TestSleep::waits_data()
{
    QTest::addColumn<int>("outer");
    QTest::addColumn<int>("inner");

    QTest::newRow("negative returns at once") << -5 << 0;
    QTest::newRow("inner wait ends first") << 20 << 5;
    QTest::newRow("inner wait outlasts the outer one") << 3 << 15;
}

void TestSleep::waits()
{
    QFETCH(int, outer);
    QFETCH(int, inner);

    QElapsedTimer clock;
    qint64 innerStart = -1;
    qint64 innerEnd = -1;
    QObject context; // a handler that never ran must not run after this row
    QTimer::singleShot(0, &context, [&] {
        innerStart = clock.elapsed();
        sleepTicks(inner);
        innerEnd = clock.elapsed();
    });
    clock.start();
    sleepTicks(outer);
    const qint64 outerEnd = clock.elapsed();

    // Events run only while it waits, and the outer wait cannot return from under the inner one.
    QCOMPARE(innerEnd >= 0, outer > 0);
    QVERIFY(innerEnd - innerStart >= inner * kTickMs - kEarlyToleranceMs);
    QVERIFY(outerEnd >= qMax(qMax(outer, 0) * kTickMs - kEarlyToleranceMs, innerEnd));
    QVERIFY2(outerEnd < qMax(outer, inner) * kTickMs + kLateMarginMs,
             qPrintable(QString::number(outerEnd)));
}

QTEST_GUILESS_MAIN(TestSleep)
#include "tst_sleep.moc"
