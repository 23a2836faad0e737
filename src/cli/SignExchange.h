#pragma once

#include "link/OpenResult.h"

#include <QString>
#include <QStringList>

#include <chrono>

namespace tavrin::cli {

using namespace std::chrono_literals;

// The message windows close their port 500 ms after a send; a reply still arriving then
// keeps it open, looked at again every 50 ms, for at most 3 s.
inline constexpr auto kExchangeCloseDelay = 500ms;
inline constexpr auto kExchangeRecheck = 50ms;
inline constexpr auto kExchangeLongReplyLimit = 3000ms;

struct ExchangeResult
{
    link::OpenResult opened;
    bool written = false;
    QStringList replies; // the sign's first non-empty line, when it answered in time
};

// One command on a port of its own, as the message windows send theirs: open, write, wait
// for the sign's answer or the close delay, close.
ExchangeResult exchangeCommand(int portNumber, const QString &command);

} // namespace tavrin::cli
