#pragma once

#include "Exchange.h"

#include <QList>

#include <algorithm>

// The exchanges' clock while it lives. Its time moves only by advance(), which rings the
// alarms on the way, each at its own time: a delay is checked to the millisecond however busy
// the machine, and whatever the sign sends meanwhile is taken in with the clock standing still.
class ManualClock final : public tavrin::protocol::ExchangeClock
{
public:
    ManualClock() { install(this); }
    ~ManualClock() override { install(nullptr); }

    std::chrono::nanoseconds now() const override { return m_now; }
    std::unique_ptr<Alarm> alarm(std::function<void()> ring) override
    {
        return std::make_unique<ManualAlarm>(*this, std::move(ring));
    }

    void advance(std::chrono::milliseconds by)
    {
        const auto end = m_now + by;
        for (ManualAlarm *next = earliest(); next && next->due <= end; next = earliest()) {
            m_now = std::max(m_now, next->due);
            next->due = kNever;
            next->ring();
        }
        m_now = end;
    }

private:
    static constexpr auto kNever = std::chrono::nanoseconds::max();

    struct ManualAlarm final : Alarm
    {
        ManualAlarm(ManualClock &clock, std::function<void()> ring)
            : clock(clock)
            , ring(std::move(ring))
        {
            clock.m_alarms << this;
        }
        ~ManualAlarm() override { clock.m_alarms.removeOne(this); }
        void start(std::chrono::milliseconds delay) override { due = clock.m_now + delay; }
        void stop() override { due = kNever; }

        ManualClock &clock;
        const std::function<void()> ring;
        std::chrono::nanoseconds due = kNever;
    };

    ManualAlarm *earliest() const
    {
        const auto next = std::ranges::min_element(m_alarms, {}, &ManualAlarm::due);
        return next == m_alarms.end() ? nullptr : *next;
    }

    QList<ManualAlarm *> m_alarms;
    std::chrono::nanoseconds m_now { 0 };
};
