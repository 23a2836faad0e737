#pragma once

#include <QChar>
#include <QFlags>
#include <QString>
#include <Qt>

#include <optional>

namespace tavrin::protocol {

// In the sign's default-message record (and in a .led file) a line break travels as one
// character and each time placeholder as another; in a command they are "$L" and "$T0".."$T7".
inline constexpr QChar kRecordLineBreak { 170 };
inline constexpr char16_t kRecordFirstTimeCode = 171; // "<hh:mm:ss>"; 178 is "<mm'dd'yy>"

// "<hh:mm:ss>" for time format position 0, and so on; empty outside 0..7.
QString timePlaceholder(int position);

// Placeholders become "$T0".."$T7" (replaced in table order), line feeds "$L", carriage
// returns go, and one "$L" at the very end is dropped.
QString applyTimeAndLineCodes(const QString &command);

// The record's characters back into text: 170 becomes CR LF, 171..178 their placeholders.
QString decodeRecordCharacters(const QString &text);

// The line carries one byte per character (Latin-1), and 170..178 mean line breaks and times
// to the sign. The first character of text that cannot reach the sign as typed, if any.
std::optional<char32_t> firstUnsendableCharacter(const QString &text);
// Names that character for the operator; empty when every character can be sent.
QString unsendableCharacterText(const QString &text);

// The paragraph alignment the composers show for an alignment code (left, right, centre).
Qt::Alignment textAlignment(int code);

} // namespace tavrin::protocol
