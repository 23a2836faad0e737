#include "DefaultMessageRecord.h"

#include "MessageCodes.h"

#include "ModelProfile.h"

#include <QStringList>

#include <array>

namespace tavrin::protocol {

namespace {

// The record's codes come first, then two unused fields and the text.
constexpr int kTextField = DefaultMessageRecord::kCodeCount + 2;
// What a KR4410 adds to each code.
constexpr std::array<int, DefaultMessageRecord::kCodeCount> kKR4410Offsets
    = { 64, 65, 65, 48, 49, 48 };

// The leading decimal digits (none read as 0); nothing when they do not fit in 16 bits.
std::optional<qint16> leadingNumber(QStringView field)
{
    qsizetype digits = 0;
    while (digits < field.size() && field[digits].isDigit() && field[digits].unicode() < 0x80)
        ++digits;
    if (digits == 0)
        return 0;
    bool ok = false;
    const qint16 value = field.first(digits).toShort(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

} // namespace

DefaultMessageRecord decodeDefaultMessageRecord(const QString &received)
{
    // A sign that ends its lines with CR LF leaves the CR on the text field.
    const QString line = received.endsWith(u'\r') ? received.chopped(1) : received;
    DefaultMessageRecord record;
    record.model = line.section(QLatin1Char(':'), 0, 0);
    const QStringList fields = line.section(QLatin1Char(':'), 1, 1).split(QLatin1Char(','));
    const bool characterCodes = record.model == vocab::kModelKR4410;

    for (int i = 0; i < DefaultMessageRecord::kCodeCount && i < fields.size(); ++i) {
        const std::optional<qint16> number = leadingNumber(fields.at(i));
        if (number) {
            record.codes[size_t(i)]
                = Code(*number - (characterCodes ? kKR4410Offsets[size_t(i)] : 0));
        }
    }
    if (fields.size() > kTextField)
        record.text = decodeRecordCharacters(fields.at(kTextField));
    return record;
}

} // namespace tavrin::protocol
