#pragma once

#include "link/SerialLink.h"

#include <QObject>
#include <QTimer>

#include <chrono>

namespace tavrin::editors {

using namespace std::chrono_literals;

// What a message window shows of its port: the progress bar after a send, and the ComClose
// ticks left before the port closes.
struct PortActivity
{
    static constexpr int kProgressEnd = 500;

    int progress = 0;
    bool progressVisible = false;
    qint16 closeCountdown = 0;
};

// A message window's own line to the sign (its MSComm1 with ComClose and ProgressTimer): a
// send opens the port, or goes out on the one a previous send still holds, and ComClose
// closes it after a countdown of short ticks, later while a reply is still arriving. The
// window owns it and its PortActivity; replies come from serialLink().
class MessagePort : public QObject
{
    Q_OBJECT

public:
    static constexpr auto kComCloseInterval = 50ms;
    static constexpr int kLongReplyTicks = 60; // at most this much longer for a reply under way
    static constexpr auto kProgressInterval = 10ms;
    static constexpr int kProgressStep = 25;

    // The port closes on the tick after closeTicks ticks.
    MessagePort(PortActivity &activity, qint16 closeTicks, QObject *parent = nullptr);

    // Opens COM k for a send; the countdown stops until startClosing(). A port that cannot be
    // opened is told (messageRequested) and false returned.
    bool open(int portNumber);
    // After a send: the countdown and the progress bar start again.
    void startClosing();

    link::SerialLink &serialLink() { return m_link; }
    QTimer &comCloseTimer() { return m_comClose; }

    void ComClose_Timer();
    void ProgressTimer_Timer();

signals:
    void activityChanged();
    // ComClose is over; portWasOpen when it closed the port itself (not a loss before it).
    void closed(bool portWasOpen);
    // The line was lost and told; the port is closed and the send is over.
    void lost();
    void messageRequested(const QString &title, const QString &text);

private:
    void onLinkLost(const QString &description);

    PortActivity &m_activity;
    const qint16 m_closeTicks;
    int m_lateTicks = 0; // ComClose ticks spent past the countdown on an unfinished reply
    link::SerialLink m_link;
    QTimer m_comClose;
    QTimer m_progressTimer;
};

} // namespace tavrin::editors
