#include "SignExchange.h"

#include "link/SerialLink.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace tavrin::cli {

ExchangeResult exchangeCommand(int portNumber, const QString &command)
{
    ExchangeResult result;
    link::SerialLink serial;
    result.opened = serial.open(portNumber);
    if (!result.opened)
        return result;

    QEventLoop loop;
    QTimer close;
    close.setSingleShot(true);
    QElapsedTimer sinceWrite;
    QObject::connect(&serial, &link::SerialLink::lineReceived, &loop, [&](const QString &line) {
        if (line.isEmpty())
            return;
        result.replies << line;
        loop.quit();
    });
    QObject::connect(&serial, &link::SerialLink::linkLost, &loop, &QEventLoop::quit);
    QObject::connect(&close, &QTimer::timeout, &loop, [&] {
        if (serial.lineArriving() && !sinceWrite.hasExpired(kExchangeLongReplyLimit.count())) {
            close.start(kExchangeRecheck);
            return;
        }
        loop.quit();
    });

    result.written = serial.write(command);
    if (result.written) {
        sinceWrite.start();
        close.start(kExchangeCloseDelay);
        loop.exec();
    }
    serial.close();
    return result;
}

} // namespace tavrin::cli
