#pragma once

#include "Exchange.h"
#include "SerialLink.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

namespace tavrin::core {

// Probes every port at once for a sign: each port gets its own link and its own exchange of
// one request. The sign on the lowest-numbered port whose reply came whole wins, decided only
// once every lower-numbered port has finished, so the result is the one a port-by-port search
// gives; a port with no device costs nothing. Every port is closed when the search ends.
class PortSearch : public QObject
{
    Q_OBJECT

public:
    // What one port gave.
    struct Probe
    {
        bool finished = false;
        bool confirmed = false; // the reply came whole
        link::OpenResult opened; // why the port could not be opened, when it could not
        QString lostReason; // the line was lost while the port was probed
        QStringList lines; // every line the port sent, in order
        int confirmingLine = -1; // of lines, the reply
    };

    explicit PortSearch(QObject *parent = nullptr);
    ~PortSearch() override;

    // FirstSign ends once the lowest-numbered sign is known; EverySign (a site survey) lets
    // every port finish.
    enum class Goal { FirstSign, EverySign };

    // Probes COM 1 to COM portCount with item; what a port gives is told as it finishes.
    void start(int portCount, const protocol::ExchangeTiming &timing,
               const protocol::ExchangeItem &item, Goal goal = Goal::FirstSign);
    // Closes every port; finished() follows with no winner.
    void stop();
    bool isRunning() const { return m_running; }
    const Probe &probe(int portNumber) const { return m_ports.at(size_t(portNumber - 1))->probe; }

signals:
    // A port that holds no sign is known: its open failed, or it finished unconfirmed.
    void portRuledOut(int portNumber);
    // Every port is closed; winner is the port number of the sign found, 0 for none.
    void finished(int winner);

private:
    struct Port
    {
        link::SerialLink link;
        protocol::Exchange exchange { link }; // goes before the link it writes to
        Probe probe;
    };

    void portFinished(int portNumber, const protocol::ExchangeOutcome &outcome);
    void decide();
    void end(int winner);

    std::vector<std::unique_ptr<Port>> m_ports;
    Goal m_goal = Goal::FirstSign;
    bool m_running = false;
};

} // namespace tavrin::core
