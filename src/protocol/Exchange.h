#pragma once

#include "SignReplies.h"

#include "OpenResult.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace tavrin::link {
class SerialLink;
}

namespace tavrin::protocol {

using namespace std::chrono_literals;

// One command of an item, written pauseBefore after the item's previous command.
struct SignCommand
{
    QString text; // as written, its "\r" included
    std::chrono::milliseconds pauseBefore { 0 };
};

// What the operator knows as one thing sent: a priority row, a link (its clearing and its
// setting command), a message. It is confirmed only when each of its commands is.
struct ExchangeItem
{
    QString name;
    QList<SignCommand> commands;
};

enum class ItemResult {
    Confirmed,
    Refused, // the sign answered "error"
    Unconfirmed, // no confirmation within the wait
    Lost, // the line was lost before the sign confirmed it
};

struct ExchangeOutcome
{
    QList<ExchangeItem> items; // every item written, in order
    QList<ItemResult> results;
    QString lostReason; // why the line was lost, when it was

    bool allConfirmed() const;
    int confirmedCount() const;
    QStringList namesWith(ItemResult result) const;
};

// The pacing of one exchange. A command is unconfirmed once replyWait has passed since it was
// written with no confirmation; one answered by a long reply (a configuration line or the
// default-message record at 9600 baud) waits longer while a line is still arriving, for at
// most longReplyLimit more.
struct ExchangeTiming
{
    std::chrono::milliseconds itemSpacing { 0 }; // from one item's first write to the next's
    std::chrono::milliseconds replyWait { 500 };
    std::chrono::milliseconds closeDelay { 500 }; // from the last write to the port's close
    std::chrono::milliseconds longReplyLimit { 3000 };
    std::chrono::milliseconds recheck { 50 }; // how often a reply under way is looked at
    // The port closes as soon as every item is confirmed, closeDelay then being only the
    // bound for an exchange that is not; for commands whose one reply is all there is.
    bool closeOnceConfirmed = false;
};

// The time exchanges pace themselves by: the steady clock and Qt's timers, unless a test has
// installed a clock that it moves by hand.
class ExchangeClock
{
public:
    // Calls back once the clock has reached the time it was set for; on the steady clock,
    // from the event loop.
    class Alarm
    {
    public:
        virtual ~Alarm() = default;
        virtual void start(std::chrono::milliseconds delay) = 0; // replaces a time already set
        virtual void stop() = 0;
    };

    virtual ~ExchangeClock() = default;
    virtual std::chrono::nanoseconds now() const = 0; // from any fixed point
    virtual std::unique_ptr<Alarm> alarm(std::function<void()> ring) = 0;

    // The clock that exchanges made from now on take.
    static ExchangeClock &current();
    // nullptr puts the steady clock back. A clock must outlive the exchanges that took it.
    static void install(ExchangeClock *clock);
};

// Writes a sequence of items to the sign on a port it opens, pairs every command with the
// reply that confirms it (SignReplies), closes the port and says what came of each item. It
// never blocks: one timer drives it. The next item is asked for only when the previous one
// has settled, so a sender can build it from the state as it then stands.
class Exchange : public QObject
{
    Q_OBJECT

public:
    using ItemSource = std::function<std::optional<ExchangeItem>()>;

    struct Reply
    {
        int item = -1; // what the line answered, -1 when nothing outstanding
        int command = -1;
        Verdict verdict = Verdict::Unrelated;
        Expectation::Kind expected = Expectation::Kind::AnyReply; // of the answered command
    };

    explicit Exchange(link::SerialLink &link, QObject *parent = nullptr);
    ~Exchange() override;

    // Opens COM k and starts; a port that cannot be opened starts nothing and nothing is
    // emitted. Fails with AlreadyOpen while an exchange runs.
    link::OpenResult start(int portNumber, const ExchangeTiming &timing, ItemSource source);
    link::OpenResult start(int portNumber, const ExchangeTiming &timing,
                           const QList<ExchangeItem> &items);
    // Finishes the item on the line (a link is never left between its two commands), asks
    // for no further item, and closes as usual.
    void stop();
    // Ends at once, the port closed, as if the line were lost for this reason: what waits
    // for its confirmation, and the item under way, count as lost.
    void abandon(const QString &reason);
    bool isRunning() const { return m_running; }
    // True while a command with this kind of confirmation waits for it.
    bool isAwaiting(Expectation::Kind kind) const;

signals:
    void commandWritten(const QString &text);
    // Every line the sign sends while the exchange runs, with what it answered.
    void lineReceived(const QString &line, const tavrin::protocol::Exchange::Reply &reply);
    void itemSettled(int item, tavrin::protocol::ItemResult result);
    // The port is closed.
    void finished(const tavrin::protocol::ExchangeOutcome &outcome);

private:
    // A command of the item under way that waits for its reply: the next item starts only
    // once this one has settled, so every outstanding command is the current item's.
    struct Outstanding
    {
        int command;
        Expectation expectation;
        qint64 deadline; // ms since the start
    };

    void onLine(const QString &line);
    void advance();
    bool writeNextCommand();
    void settleExpired();
    void settleItemIfDone();
    int currentItem() const { return int(m_outcome.items.size()) - 1; }
    void schedule();
    bool closesNow() const;
    void finish();
    qint64 now() const // ms since the start
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(m_clock.now() - m_started)
            .count();
    }

    link::SerialLink &m_link;
    ExchangeClock &m_clock;
    std::unique_ptr<ExchangeClock::Alarm> m_timer;
    std::chrono::nanoseconds m_started { 0 }; // on m_clock
    ExchangeTiming m_timing;
    ItemSource m_source;
    ExchangeOutcome m_outcome;
    QList<std::optional<ItemResult>> m_commandResults; // of the current item
    QList<Outstanding> m_outstanding;
    bool m_running = false;
    bool m_stopRequested = false;
    bool m_sourceDone = false;
    int m_nextCommand = 0; // of the current item; its size once all are written
    qint64 m_itemStarted = 0;
    qint64 m_lastWrite = 0;
    qint64 m_nextWriteAt = 0;
};

} // namespace tavrin::protocol
