#pragma once

#include "Exchange.h"
#include "SerialLink.h"

#include <QObject>
#include <QString>

namespace tavrin::core {

// Asks one device whether a sign is on it, with the request the port search sends, before the
// device is chosen for its port. A sign is there only once its reply came whole.
class DeviceProbe : public QObject
{
    Q_OBJECT

public:
    struct Result
    {
        bool signAnswered = false;
        QString text; // "KR4410 answered", "no sign answered", or why the device failed
        QString detail; // the text, with what the user can do about it when that is known
    };

    explicit DeviceProbe(QObject *parent = nullptr);
    ~DeviceProbe() override;

    // Opens device as COM portNumber and sends the request. finished() follows from the event
    // loop, for a device that cannot be opened too. Does nothing while a probe runs.
    void start(int portNumber, const QString &device);
    // Closes the device; finished() does not follow.
    void stop();
    bool isRunning() const { return m_running; }

signals:
    void finished(const tavrin::core::DeviceProbe::Result &result);

private:
    void exchangeFinished(const protocol::ExchangeOutcome &outcome);
    void end(Result result);

    link::SerialLink m_link;
    protocol::Exchange m_exchange { m_link }; // goes before the link it writes to
    QString m_reply; // the line that answered the request
    int m_attempt = 0; // a failure told late belongs to this start only
    bool m_running = false;
};

} // namespace tavrin::core
