#pragma once

#include "SignConfig.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace tavrin::protocol {

inline constexpr int kMessageIdCount = 8; // "<id=0" .. "<id=7"
// In-line codes a test message's body may carry: "$FA".."$FY" and "$CA".."$CM".
inline constexpr int kFontCodeCount = 25;
inline constexpr int kColorCodeCount = 13;

QString fontCode(int index); // "$FA" for 0 .. "$FY" for 24
QString colorCode(int index); // "$CA" for 0 .. "$CM" for 12
// The index of a font or colour code at the very start of a body.
std::optional<int> leadingFontCode(QStringView body);
std::optional<int> leadingColorCode(QStringView body);

// "<id=.. f=.. s=.. c=.. a=.. b=.. p=.. sp=.. t=..>" from the priority's codes (-1 for no
// selection) and its timeout as typed, then the body, with time and line codes applied to the
// whole, ended by "\r".
QString testMessageCommand(int messageId, const PriorityRow &priority, const QString &body);

} // namespace tavrin::protocol
