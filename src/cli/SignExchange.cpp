#include "SignExchange.h"

#include "PortMap.h"
#include "SerialLink.h"

#include <QEventLoop>

namespace tavrin::cli {

QString portFailureText(int portNumber, const QString &failure)
{
    const QString device = link::deviceForPort(portNumber);
    return QStringLiteral("COM %1 (%2): %3")
        .arg(portNumber)
        .arg(device.isEmpty() ? QStringLiteral("no device") : device, failure);
}

ExchangeResult exchangeCommand(int portNumber, const QString &name, const QString &command)
{
    ExchangeResult result;
    link::SerialLink serial;
    protocol::Exchange exchange(serial);
    protocol::ExchangeTiming timing;
    timing.replyWait = kExchangeCloseDelay;
    timing.closeDelay = kExchangeCloseDelay;
    timing.closeOnceConfirmed = true; // the confirmation is all a command waits for

    QEventLoop loop;
    QObject::connect(&exchange, &protocol::Exchange::lineReceived, &loop,
                     [&result](const QString &line, const protocol::Exchange::Reply &reply) {
                         if (!line.isEmpty())
                             result.lastLine = line;
                         if (reply.verdict == protocol::Verdict::Confirms)
                             result.answer = line;
                     });
    QObject::connect(&exchange, &protocol::Exchange::finished, &loop,
                     [&](const protocol::ExchangeOutcome &outcome) {
                         result.outcome = outcome;
                         loop.quit();
                     });
    result.opened = exchange.start(portNumber, timing, { { name, { { command } } } });
    if (result.opened)
        loop.exec();
    result.connected = serial.everConnected();
    return result;
}

} // namespace tavrin::cli
