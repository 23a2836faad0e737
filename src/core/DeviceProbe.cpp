#include "DeviceProbe.h"

#include "MainController.h"

#include "ConfigurationLine.h"

namespace tavrin::core {

namespace {

DeviceProbe::Result openFailed(const link::OpenResult &opened)
{
    return { false, opened.description, opened.fullText() };
}

} // namespace

DeviceProbe::DeviceProbe(QObject *parent)
    : QObject(parent)
{
    connect(&m_exchange, &protocol::Exchange::lineReceived, this,
            [this](const QString &line, const protocol::Exchange::Reply &reply) {
                if (reply.verdict == protocol::Verdict::Confirms)
                    m_reply = line;
            });
    connect(&m_exchange, &protocol::Exchange::finished, this, &DeviceProbe::exchangeFinished);
}

DeviceProbe::~DeviceProbe()
{
    // Nothing the closing exchange says may reach a probe half destroyed.
    m_exchange.disconnect(this);
}

void DeviceProbe::start(int portNumber, const QString &device)
{
    if (m_running)
        return;
    m_running = true;
    m_reply.clear();
    const int attempt = ++m_attempt;
    m_link.pinDevice(device);
    const link::OpenResult opened = m_exchange.start(portNumber, MainController::requestTiming(),
                                                     { MainController::configurationRequest() });
    if (opened)
        return;
    QMetaObject::invokeMethod(
        this,
        [this, attempt, opened] {
            if (m_running && attempt == m_attempt)
                end(openFailed(opened));
        },
        Qt::QueuedConnection);
}

void DeviceProbe::stop()
{
    if (!m_running)
        return;
    m_running = false;
    m_exchange.abandon(tr("the test was called off"));
}

void DeviceProbe::exchangeFinished(const protocol::ExchangeOutcome &outcome)
{
    if (!m_running)
        return;
    if (!m_link.everConnected()) // a device server that was never reached
        end(openFailed({ link::OpenError::Other, outcome.lostReason }));
    else if (!outcome.lostReason.isEmpty())
        end({ false, tr("the line was lost: %1").arg(outcome.lostReason), {} });
    else if (outcome.results.value(0) == protocol::ItemResult::Refused)
        end({ false, tr("the device refused the request"), {} });
    else if (outcome.items.isEmpty() || !outcome.allConfirmed())
        end({ false, tr("no sign answered"), {} });
    else if (const QString model = protocol::ConfigurationLine(m_reply).model().trimmed();
             !model.isEmpty())
        end({ true, tr("%1 answered").arg(model), {} });
    else
        end({ true, tr("a sign answered"), {} });
}

void DeviceProbe::end(Result result)
{
    m_running = false;
    if (result.detail.isEmpty())
        result.detail = result.text;
    emit finished(result);
}

} // namespace tavrin::core
