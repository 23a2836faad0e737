#include "PortSearch.h"

namespace tavrin::core {

PortSearch::PortSearch(QObject *parent)
    : QObject(parent)
{
}

PortSearch::~PortSearch()
{
    // Nothing a closing exchange says may reach a search half destroyed.
    for (auto &port : m_ports)
        port->exchange.disconnect(this);
}

void PortSearch::start(int portCount, const protocol::ExchangeTiming &timing,
                       const protocol::ExchangeItem &item, Goal goal)
{
    if (m_running)
        return;
    m_ports.clear();
    m_goal = goal;
    m_running = true;
    for (int portNumber = 1; portNumber <= portCount; ++portNumber) {
        auto &port = *m_ports.emplace_back(std::make_unique<Port>());
        connect(&port.exchange, &protocol::Exchange::lineReceived, this,
                [&port](const QString &line, const protocol::Exchange::Reply &reply) {
                    if (reply.verdict == protocol::Verdict::Confirms)
                        port.probe.confirmingLine = int(port.probe.lines.size());
                    port.probe.lines << line;
                });
        connect(&port.exchange, &protocol::Exchange::finished, this,
                [this, portNumber](const protocol::ExchangeOutcome &outcome) {
                    portFinished(portNumber, outcome);
                });
        port.probe.opened = port.exchange.start(portNumber, timing, { item });
        if (!port.probe.opened)
            port.probe.finished = true;
    }
    // Told from the event loop, as every later finding is: the caller's start returns first.
    QMetaObject::invokeMethod(
        this,
        [this, portCount] {
            if (!m_running)
                return;
            for (int portNumber = 1; portNumber <= portCount; ++portNumber) {
                if (probe(portNumber).finished && !probe(portNumber).opened)
                    emit portRuledOut(portNumber);
            }
            decide();
        },
        Qt::QueuedConnection);
}

void PortSearch::stop()
{
    if (m_running)
        end(0);
}

void PortSearch::portFinished(int portNumber, const protocol::ExchangeOutcome &outcome)
{
    if (!m_running)
        return; // closed by the end of the search
    Probe &p = m_ports.at(size_t(portNumber - 1))->probe;
    p.finished = true;
    p.confirmed = !outcome.items.isEmpty() && outcome.allConfirmed();
    if (!m_ports.at(size_t(portNumber - 1))->link.everConnected())
        p.opened = { link::OpenError::Other, outcome.lostReason }; // it never opened, late
    else
        p.lostReason = outcome.lostReason;
    if (!p.confirmed)
        emit portRuledOut(portNumber);
    decide();
}

void PortSearch::decide()
{
    if (!m_running)
        return;
    int first = 0;
    for (size_t i = 0; i < m_ports.size(); ++i) {
        const Probe &p = m_ports[i]->probe;
        if (!p.finished)
            return; // a lower-numbered port may still hold the sign
        if (p.confirmed && first == 0) {
            first = int(i) + 1;
            if (m_goal == Goal::FirstSign)
                break;
        }
    }
    end(first);
}

void PortSearch::end(int winner)
{
    m_running = false;
    for (auto &port : m_ports)
        port->exchange.abandon(tr("the search is over"));
    emit finished(winner);
}

} // namespace tavrin::core
