#pragma once

#include "Exchange.h"

#include <QString>

#include <chrono>

namespace tavrin::cli {

using namespace std::chrono_literals;

// The message windows close their port 500 ms after a send; a reply still arriving then
// keeps it open, looked at again every 50 ms, for at most 3 s.
inline constexpr auto kExchangeCloseDelay = 500ms;

struct ExchangeResult
{
    link::OpenResult opened;
    protocol::ExchangeOutcome outcome;
    QString lastLine; // the sign's last non-empty line, to quote when it confirmed nothing
    QString answer; // the line that confirmed the command
    bool connected = true; // false: a network port never reached its device server
};

// "COM 3 (/dev/ttyUSB0): in use by another program": the port, its device and the failure.
QString portFailureText(int portNumber, const QString &failure);

// One command on a port of its own, as the message windows send theirs: open, write, wait
// for the reply that confirms it or the close delay, close.
ExchangeResult exchangeCommand(int portNumber, const QString &name, const QString &command);

} // namespace tavrin::cli
