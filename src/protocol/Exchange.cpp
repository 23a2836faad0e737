#include "Exchange.h"

#include "SerialLink.h"

#include <QTimer>

#include <algorithm>
#include <limits>
#include <memory>
#include <utility>

namespace tavrin::protocol {

namespace {

constexpr qint64 kNever = std::numeric_limits<qint64>::max();

class TimerAlarm final : public ExchangeClock::Alarm
{
public:
    explicit TimerAlarm(std::function<void()> ring)
    {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, std::move(ring));
    }
    void start(std::chrono::milliseconds delay) override { m_timer.start(delay); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

class SteadyClock final : public ExchangeClock
{
public:
    std::chrono::nanoseconds now() const override
    {
        return std::chrono::steady_clock::now().time_since_epoch();
    }
    std::unique_ptr<Alarm> alarm(std::function<void()> ring) override
    {
        return std::make_unique<TimerAlarm>(std::move(ring));
    }
};

ExchangeClock *installedClock = nullptr;

// Only these replies may take longer than the wait at 9600 baud; a short acknowledgement that
// has not come by then is not coming, whatever else the line carries.
bool isLongReply(const Expectation &expectation)
{
    return expectation.kind == Expectation::Kind::ConfigurationLine
        || expectation.kind == Expectation::Kind::DefaultRecord;
}

ItemResult combined(const QList<std::optional<ItemResult>> &results)
{
    const auto has = [&](ItemResult r) {
        return results.contains(std::optional(r));
    };
    if (has(ItemResult::Lost))
        return ItemResult::Lost;
    if (has(ItemResult::Refused))
        return ItemResult::Refused;
    if (has(ItemResult::Unconfirmed))
        return ItemResult::Unconfirmed;
    return ItemResult::Confirmed;
}

} // namespace

ExchangeClock &ExchangeClock::current()
{
    static SteadyClock steady;
    return installedClock ? *installedClock : steady;
}

void ExchangeClock::install(ExchangeClock *clock)
{
    installedClock = clock;
}

bool ExchangeOutcome::allConfirmed() const
{
    return lostReason.isEmpty() && std::all_of(results.begin(), results.end(), [](ItemResult r) {
               return r == ItemResult::Confirmed;
           });
}

int ExchangeOutcome::confirmedCount() const
{
    return int(std::count(results.begin(), results.end(), ItemResult::Confirmed));
}

QStringList ExchangeOutcome::namesWith(ItemResult result) const
{
    QStringList names;
    for (qsizetype i = 0; i < results.size(); ++i) {
        if (results.at(i) == result)
            names << items.at(i).name;
    }
    return names;
}

Exchange::Exchange(link::SerialLink &link, QObject *parent)
    : QObject(parent)
    , m_link(link)
    , m_clock(ExchangeClock::current())
    , m_timer(m_clock.alarm([this] { advance(); }))
{
    connect(&m_link, &link::SerialLink::lineReceived, this, &Exchange::onLine);
    connect(&m_link, &link::SerialLink::linkLost, this, &Exchange::abandon);
}

Exchange::~Exchange() = default;

link::OpenResult Exchange::start(int portNumber, const ExchangeTiming &timing,
                                 const QList<ExchangeItem> &items)
{
    auto next = std::make_shared<qsizetype>(0);
    return start(portNumber, timing, [items, next]() -> std::optional<ExchangeItem> {
        if (*next >= items.size())
            return std::nullopt;
        return items.at((*next)++);
    });
}

link::OpenResult Exchange::start(int portNumber, const ExchangeTiming &timing, ItemSource source)
{
    if (m_running)
        return { link::OpenError::AlreadyOpen,
                 tr("COM %1 is already open").arg(m_link.portNumber()) };
    const link::OpenResult opened = m_link.open(portNumber);
    if (!opened)
        return opened;
    m_timing = timing;
    m_source = std::move(source);
    m_outcome = {};
    m_commandResults.clear();
    m_outstanding.clear();
    m_running = true;
    m_stopRequested = false;
    m_sourceDone = false;
    m_nextCommand = 0;
    m_started = m_clock.now();
    m_itemStarted = 0; // the first item goes out after one spacing, as every later one
    m_lastWrite = 0;
    m_nextWriteAt = 0;
    // The first item goes out from the event loop, so the caller sees start() return first.
    m_timer->start(0ms);
    return opened;
}

void Exchange::stop()
{
    if (!m_running)
        return;
    m_stopRequested = true;
    m_timer->start(0ms);
}

bool Exchange::isAwaiting(Expectation::Kind kind) const
{
    return std::any_of(m_outstanding.begin(), m_outstanding.end(),
                       [kind](const Outstanding &o) { return o.expectation.kind == kind; });
}

void Exchange::onLine(const QString &line)
{
    if (!m_running)
        return;
    // The command the line confirms; else the oldest one it refuses ("error" answers the oldest
    // command still waiting: the sign answers in order).
    qsizetype answered = -1;
    Verdict verdict = Verdict::Unrelated;
    for (qsizetype i = 0; i < m_outstanding.size(); ++i) {
        const Verdict v = judge(m_outstanding.at(i).expectation, line);
        if (v == Verdict::Confirms || (v == Verdict::Refuses && answered < 0)) {
            answered = i;
            verdict = v;
        }
        if (v == Verdict::Confirms)
            break;
    }
    Reply reply;
    if (answered >= 0) {
        const Outstanding &o = m_outstanding.at(answered);
        reply = { currentItem(), o.command, verdict, o.expectation.kind };
    }
    emit lineReceived(line, reply);
    if (answered < 0 || !m_running)
        return;
    const Outstanding o = m_outstanding.takeAt(answered);
    m_commandResults[o.command]
        = verdict == Verdict::Confirms ? ItemResult::Confirmed : ItemResult::Refused;
    settleItemIfDone();
    // Not advanced from here: the line may have come in while advance() itself looked at the
    // port, and the next step goes out from the event loop as every other one.
    m_timer->start(0ms);
}

void Exchange::abandon(const QString &reason)
{
    if (!m_running)
        return;
    m_outcome.lostReason = reason;
    m_outstanding.clear();
    if (!m_outcome.items.isEmpty() && m_outcome.results.size() < m_outcome.items.size()) {
        for (auto &result : m_commandResults) {
            if (!result)
                result = ItemResult::Lost;
        }
        m_outcome.results << ItemResult::Lost;
        emit itemSettled(currentItem(), ItemResult::Lost);
    }
    finish();
}

void Exchange::advance()
{
    if (!m_running)
        return;
    settleExpired();
    if (!m_running)
        return;
    if (!m_link.isReady()) {
        // A device server still being reached: nothing is written, so no reply is late yet.
        // The link's own bound ends the wait with a loss.
        m_timer->start(m_timing.recheck);
        return;
    }

    const qint64 t = now();
    const bool itemOpen = m_outcome.results.size() < m_outcome.items.size();
    if (itemOpen) {
        const int written = m_nextCommand;
        const auto &commands = m_outcome.items.last().commands;
        if (written < commands.size() && t >= m_nextWriteAt && !writeNextCommand())
            return;
    } else if (!m_stopRequested && !m_sourceDone
               && t >= m_itemStarted + m_timing.itemSpacing.count()) {
        if (std::optional<ExchangeItem> item = m_source(); item && !item->commands.isEmpty()) {
            m_outcome.items << *item;
            m_commandResults = QList<std::optional<ItemResult>>(item->commands.size());
            m_nextCommand = 0;
            m_itemStarted = t;
            m_nextWriteAt = t;
            if (!writeNextCommand())
                return;
        } else {
            m_sourceDone = true;
        }
    }

    const bool settled = m_outcome.results.size() == m_outcome.items.size();
    if (settled && (m_stopRequested || m_sourceDone)
        && (t >= m_lastWrite + m_timing.closeDelay.count() || closesNow())) {
        finish();
        return;
    }
    schedule();
}

bool Exchange::writeNextCommand()
{
    const QList<SignCommand> &commands = m_outcome.items.last().commands;
    const int index = m_nextCommand++;
    const SignCommand &command = commands.at(index);
    if (!m_link.write(command.text)) {
        // Not a loss the link noticed: the port refused the bytes. Nothing more goes out.
        abandon(tr("writing to COM %1 failed").arg(m_link.portNumber()));
        return false;
    }
    const qint64 t = now();
    m_lastWrite = t;
    if (m_nextCommand < commands.size())
        m_nextWriteAt = t + commands.at(m_nextCommand).pauseBefore.count();
    const Expectation expectation = expectationFor(command.text);
    emit commandWritten(command.text);
    if (!m_running)
        return false;
    if (expectation.kind == Expectation::Kind::None)
        m_commandResults[index] = ItemResult::Confirmed; // the sign never answers it
    else
        m_outstanding << Outstanding { index, expectation, t + m_timing.replyWait.count() };
    settleItemIfDone();
    return true;
}

void Exchange::settleExpired()
{
    const qint64 t = now();
    const bool lineArriving = std::any_of(m_outstanding.begin(), m_outstanding.end(),
                                          [t](const Outstanding &o) { return t >= o.deadline; })
        && m_link.lineArriving(); // may deliver lines, and so settle some
    if (!m_running)
        return;
    for (qsizetype i = 0; i < m_outstanding.size();) {
        const Outstanding &o = m_outstanding.at(i);
        const bool expired = t >= o.deadline
            && (!lineArriving || !isLongReply(o.expectation)
                || t >= o.deadline + m_timing.longReplyLimit.count());
        if (!expired) {
            ++i;
            continue;
        }
        m_commandResults[o.command] = ItemResult::Unconfirmed;
        m_outstanding.removeAt(i);
    }
    settleItemIfDone();
}

void Exchange::settleItemIfDone()
{
    if (m_outcome.items.isEmpty() || m_outcome.results.size() == m_outcome.items.size())
        return;
    if (m_nextCommand < m_outcome.items.last().commands.size())
        return;
    if (std::any_of(m_commandResults.begin(), m_commandResults.end(),
                    [](const auto &r) { return !r.has_value(); }))
        return;
    const ItemResult result = combined(m_commandResults);
    m_outcome.results << result;
    emit itemSettled(currentItem(), result);
}

void Exchange::schedule()
{
    const qint64 t = now();
    qint64 wake = kNever;
    for (const Outstanding &o : std::as_const(m_outstanding))
        wake = std::min(wake, t >= o.deadline ? t + m_timing.recheck.count() : o.deadline);
    const bool itemOpen = m_outcome.results.size() < m_outcome.items.size();
    if (itemOpen && m_nextCommand < m_outcome.items.last().commands.size())
        wake = std::min(wake, m_nextWriteAt);
    if (!itemOpen) {
        if (!m_stopRequested && !m_sourceDone)
            wake = std::min(wake, m_itemStarted + m_timing.itemSpacing.count());
        else
            wake = std::min(wake, closesNow() ? t : m_lastWrite + m_timing.closeDelay.count());
    }
    if (wake == kNever)
        wake = t + m_timing.recheck.count();
    m_timer->start(std::chrono::milliseconds(std::max<qint64>(0, wake - t)));
}

bool Exchange::closesNow() const
{
    return m_timing.closeOnceConfirmed && m_outcome.confirmedCount() == m_outcome.items.size();
}

void Exchange::finish()
{
    m_timer->stop();
    m_running = false;
    m_outstanding.clear();
    m_link.close();
    const ExchangeOutcome outcome = std::exchange(m_outcome, {});
    m_source = {};
    emit finished(outcome);
}

} // namespace tavrin::protocol
