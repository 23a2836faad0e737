#include "MessagePort.h"

#include "core/AppTitle.h"

namespace tavrin::editors {

MessagePort::MessagePort(PortActivity &activity, qint16 closeTicks, QObject *parent)
    : QObject(parent)
    , m_activity(activity)
    , m_closeTicks(closeTicks)
{
    m_comClose.setInterval(kComCloseInterval);
    m_progressTimer.setInterval(kProgressInterval);
    connect(&m_comClose, &QTimer::timeout, this, &MessagePort::ComClose_Timer);
    connect(&m_progressTimer, &QTimer::timeout, this, &MessagePort::ProgressTimer_Timer);
    connect(&m_link, &link::SerialLink::linkLost, this, &MessagePort::onLinkLost);
}

bool MessagePort::open(int portNumber)
{
    // A send while the previous one still holds the port goes out on it; the countdown
    // starts again after this send.
    m_comClose.stop();
    if (m_link.isOpen())
        return true;
    const link::OpenResult opened = m_link.open(portNumber);
    if (opened)
        return true;
    emit messageRequested(core::kAppTitle, link::openFailureMessage(opened, portNumber));
    return false;
}

void MessagePort::startClosing()
{
    m_activity.closeCountdown = m_closeTicks;
    m_lateTicks = 0;
    m_comClose.start();
    m_activity.progress = 0;
    m_activity.progressVisible = true;
    m_progressTimer.start();
    emit activityChanged();
}

void MessagePort::ComClose_Timer()
{
    if (m_activity.closeCountdown >= 1) {
        --m_activity.closeCountdown;
        return;
    }
    // A reply still coming in (a long message at 9600 baud) keeps the port open a while.
    if (m_link.lineArriving() && m_lateTicks < kLongReplyTicks) {
        ++m_lateTicks;
        return;
    }
    m_comClose.stop();
    const bool wasOpen = m_link.isOpen();
    m_link.close();
    emit closed(wasOpen);
}

void MessagePort::ProgressTimer_Timer()
{
    if (m_activity.progress < PortActivity::kProgressEnd) {
        m_activity.progress += kProgressStep;
        emit activityChanged();
    } else if (m_activity.progressVisible) {
        m_activity.progressVisible = false; // the timer runs on; there is nothing more to show
        emit activityChanged();
    }
}

void MessagePort::onLinkLost(const QString &description)
{
    m_comClose.stop();
    m_activity.closeCountdown = 0;
    emit lost();
    emit messageRequested(core::kAppTitle,
                          link::connectionLostText(m_link.portNumber(), description));
}

} // namespace tavrin::editors
