#include "MessagePort.h"

#include "AppTitle.h"

namespace tavrin::editors {

using namespace protocol;

QString unconfirmedText(protocol::ItemResult result, const QString &what)
{
    switch (result) {
    case protocol::ItemResult::Confirmed:
        break;
    case protocol::ItemResult::Refused:
        return QStringLiteral("The sign refused ") + what;
    case protocol::ItemResult::Unconfirmed:
        return QStringLiteral("The sign did not confirm ") + what;
    case protocol::ItemResult::Lost:
        return QStringLiteral("The line was lost before the sign confirmed ") + what;
    }
    return {};
}

MessagePort::MessagePort(std::chrono::milliseconds closeDelay, QObject *parent)
    : QObject(parent)
    , m_closeDelay(closeDelay)
{
    m_progressTimer.setInterval(kProgressInterval);
    connect(&m_progressTimer, &QTimer::timeout, this, &MessagePort::advanceProgress);
    connect(&m_exchange, &protocol::Exchange::commandWritten, this, &MessagePort::commandWritten);
    connect(&m_exchange, &protocol::Exchange::lineReceived, this, &MessagePort::onLine);
    connect(&m_exchange, &protocol::Exchange::itemSettled, this,
            [this](int, protocol::ItemResult result) { emit itemSettled(m_item, result); });
    connect(&m_exchange, &protocol::Exchange::finished, this, &MessagePort::onFinished);
    // Connected after the exchange's own handler, so the send is over when this is told.
    connect(&m_link, &link::SerialLink::linkLost, this, [this](const QString &description) {
        emit messageRequested(core::kAppTitle,
                              link::connectionLostText(m_link.portNumber(), description));
    });
}

bool MessagePort::send(int portNumber, ItemBuilder build)
{
    return send(portNumber, std::move(build), m_closeDelay);
}

bool MessagePort::send(int portNumber, ItemBuilder build, std::chrono::milliseconds closeDelay)
{
    const Send send { portNumber, std::move(build), closeDelay };
    if (isBusy())
        m_queued << send;
    else if (!start(send))
        return false;
    m_activity.progress = 0;
    m_activity.progressVisible = true;
    m_progressTimer.start();
    emit activityChanged();
    return true;
}

bool MessagePort::start(const Send &send)
{
    protocol::ExchangeTiming timing;
    timing.replyWait = m_closeDelay;
    timing.closeDelay = send.closeDelay;
    timing.longReplyLimit = kLongReplyLimit;
    m_item = send.build();
    const link::OpenResult opened = m_exchange.start(send.portNumber, timing, QList { m_item });
    if (!opened)
        emit messageRequested(core::kAppTitle, link::openFailureMessage(opened, send.portNumber));
    return bool(opened);
}

void MessagePort::onLine(const QString &line, const protocol::Exchange::Reply &reply)
{
    if (reply.item < 0)
        emit answered({ line, {}, protocol::Verdict::Unrelated });
    else
        emit answered({ line, m_item.commands.at(reply.command).text, reply.verdict });
}

void MessagePort::onFinished(const protocol::ExchangeOutcome &outcome)
{
    if (!outcome.lostReason.isEmpty())
        m_queued.clear(); // nothing more goes out on a lost line
    while (!m_queued.isEmpty()) {
        if (start(m_queued.takeFirst()))
            return;
        m_queued.clear(); // told; what waited behind it needs the same port
    }
    emit idle();
}

void MessagePort::advanceProgress()
{
    if (m_activity.progress < PortActivity::kProgressEnd) {
        m_activity.progress += kProgressStep;
        emit activityChanged();
    } else if (m_activity.progressVisible) {
        m_activity.progressVisible = false; // the timer runs on; there is nothing more to show
        emit activityChanged();
    }
}

} // namespace tavrin::editors
