#include "MessageWindowController.h"

#include "ClockCommand.h"

#include <QDateTime>

namespace tavrin::editors {

using namespace protocol;

namespace {

const QString kWritingCaption = QStringLiteral("Writing...");
const QString kClockItem = QStringLiteral("the clock"); // as the Ack label names it

} // namespace

MessageWindowController::MessageWindowController(std::chrono::milliseconds closeDelay,
                                                 QObject *parent)
    : QObject(parent)
    , m_port(closeDelay)
{
    m_removeAck.setInterval(kRemoveAckDelay);
    m_clockUpdate.setInterval(kClockUpdateInterval);
    connect(&m_removeAck, &QTimer::timeout, this, &MessageWindowController::clearAck);
    connect(&m_clockUpdate, &QTimer::timeout, this, &MessageWindowController::updateClock);
    connect(&m_port, &MessagePort::activityChanged, this, [this] {
        static_cast<PortActivity &>(shown()) = m_port.activity();
        changed();
    });
    connect(&m_port, &MessagePort::itemSettled, this,
            [this](const protocol::ExchangeItem &item, protocol::ItemResult result) {
                if (result != protocol::ItemResult::Confirmed)
                    showAck(unconfirmedText(result, item.name));
            });
    connect(&m_port, &MessagePort::messageRequested, this,
            &MessageWindowController::messageRequested);
}

MessageWindowController::~MessageWindowController()
{
    // The port outlives the derived editor; nothing it says while closing may reach that.
    m_port.disconnect(this);
}

void MessageWindowController::setSignClock()
{
    const bool sent = sendWriting([] {
        return protocol::ExchangeItem { kClockItem,
                                        { { clockCommand(QDateTime::currentDateTime()) } } };
    });
    if (sent) {
        shown().setTimeEnabled = false;
        changed();
    }
}

void MessageWindowController::clearAck()
{
    shown().ack.clear();
    m_removeAck.stop();
    changed();
}

void MessageWindowController::updateClock()
{
    shown().dateTime = clockDisplayText(QDateTime::currentDateTime());
    changed();
}

void MessageWindowController::startClock()
{
    updateClock();
    m_clockUpdate.start();
}

void MessageWindowController::showAck(const QString &text)
{
    shown().ack = text;
    m_removeAck.start();
    changed();
}

bool MessageWindowController::sendWriting(MessagePort::ItemBuilder build)
{
    if (!m_port.send(portNumber(), std::move(build)))
        return false;
    MessageWindowState &s = shown();
    s.downloadEnabled = false;
    s.uploadEnabled = false;
    s.uploadCaption = kWritingCaption;
    m_removeAck.stop();
    changed();
    return true;
}

} // namespace tavrin::editors
