#include "SignExchange.h"

#include "SerialLink.h"

#include <QEventLoop>

namespace tavrin::cli {

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
                     [&result](const QString &line) {
                         if (!line.isEmpty())
                             result.lastLine = line;
                     });
    QObject::connect(&exchange, &protocol::Exchange::finished, &loop,
                     [&](const protocol::ExchangeOutcome &outcome) {
                         result.outcome = outcome;
                         loop.quit();
                     });
    result.opened = exchange.start(portNumber, timing, { { name, { { command } } } });
    if (result.opened)
        loop.exec();
    return result;
}

} // namespace tavrin::cli
