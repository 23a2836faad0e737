#pragma once

#include <QDateTime>
#include <QString>

namespace tavrin::protocol {

// Sets the sign's clock: "<Time time=HH:MM:SS date=YYYY/MO/DD-W>SET TIME" and "\r", two-digit
// fields, the year whole and W the weekday from 0 (Sunday) to 6 (Saturday).
QString clockCommand(const QDateTime &now);

// The PC clock as the message windows' DateTime label shows it: the system's short date and
// its long time without the zone name.
QString clockDisplayText(const QDateTime &now);

} // namespace tavrin::protocol
