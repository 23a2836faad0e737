#pragma once

#include <QStringView>
#include <QtGlobal>

#include <optional>

namespace tavrin::protocol {

// Reads the number a text begins with, the way the sign's fields and the window's text boxes
// are read: blanks, tabs and line feeds are skipped wherever they stand, reading stops at the
// first character that cannot continue the number, and a text without a number reads as 0.
double readNumber(QStringView text);

// Rounds to the nearest integer, halves to the even neighbour; nothing when the result does
// not fit in 16 bits.
std::optional<qint16> roundToInt16(double value);

} // namespace tavrin::protocol
