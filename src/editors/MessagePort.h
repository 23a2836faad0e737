#pragma once

#include "Exchange.h"
#include "SerialLink.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace tavrin::editors {

using protocol::SignAnswer;

using namespace std::chrono_literals;

// What a message window shows of its port: the progress bar after a send.
struct PortActivity
{
    static constexpr int kProgressEnd = 500;

    int progress = 0;
    bool progressVisible = false;
};

// What the Ack label says of a send the sign did not confirm: "The sign refused the clock".
QString unconfirmedText(protocol::ItemResult result, const QString &what);

// A message window's own line to the sign, with its progress bar. Each send is one
// exchange: it opens the port, writes the item's commands at their pauses, pairs the sign's
// lines with them and closes the port a close delay after the last write, later while a reply
// is still arriving. A send made while another runs goes out when that one has closed.
class MessagePort : public QObject
{
    Q_OBJECT

public:
    using ItemBuilder = std::function<protocol::ExchangeItem()>;

    static constexpr auto kProgressInterval = 10ms;
    static constexpr int kProgressStep = 25;
    static constexpr auto kLongReplyLimit = 3000ms;

    // Each command waits closeDelay for its confirmation, and the port closes that long after
    // the last write unless a send says otherwise.
    explicit MessagePort(std::chrono::milliseconds closeDelay, QObject *parent = nullptr);

    // Sends the item that build() makes when its turn comes, on COM k. False when the port
    // cannot be opened now; that is told (messageRequested).
    bool send(int portNumber, ItemBuilder build);
    bool send(int portNumber, ItemBuilder build, std::chrono::milliseconds closeDelay);
    // From a send until its port has closed and no other send waits.
    bool isBusy() const { return m_exchange.isRunning() || !m_queued.isEmpty(); }

    link::SerialLink &serialLink() { return m_link; }
    const PortActivity &activity() const { return m_activity; }

    void advanceProgress();

signals:
    // activity() changed.
    void activityChanged();
    void commandWritten(const QString &text);
    void answered(const tavrin::protocol::SignAnswer &answer);
    void itemSettled(const tavrin::protocol::ExchangeItem &item,
                     tavrin::protocol::ItemResult result);
    // The port is closed and no send waits: the send buttons may come back.
    void idle();
    void messageRequested(const QString &title, const QString &text);

private:
    struct Send
    {
        int portNumber;
        ItemBuilder build;
        std::chrono::milliseconds closeDelay;
    };

    bool start(const Send &send);
    void onLine(const QString &line, const protocol::Exchange::Reply &reply);
    void onFinished(const protocol::ExchangeOutcome &outcome);

    PortActivity m_activity;
    const std::chrono::milliseconds m_closeDelay;
    link::SerialLink m_link;
    protocol::Exchange m_exchange { m_link };
    protocol::ExchangeItem m_item; // the one on the line
    QList<Send> m_queued;
    QTimer m_progressTimer;
};

} // namespace tavrin::editors
