#include "MessageCodes.h"

#include "Vocabulary.h"

namespace tavrin::protocol {

namespace {

constexpr char16_t kRecordLastTimeCode = kRecordFirstTimeCode + vocab::kTimeFormatCount - 1;
constexpr char32_t kLastLineCharacter = 0xFF;

bool reservedBySign(char32_t c)
{
    return c == kRecordLineBreak.unicode()
        || (c >= kRecordFirstTimeCode && c <= kRecordLastTimeCode);
}

} // namespace

QString timePlaceholder(int position)
{
    if (position < 0 || position >= vocab::kTimeFormatCount)
        return {};
    return QLatin1Char('<') + QLatin1String(vocab::timeFormats()[size_t(position)].text)
        + QLatin1Char('>');
}

QString applyTimeAndLineCodes(const QString &command)
{
    QString result = command;
    for (const vocab::TimeFormat &format : vocab::timeFormats())
        result.replace(QLatin1String(format.marker), QLatin1String(format.code));
    result.replace(QLatin1Char('\n'), QLatin1String("$L"));
    result.remove(QLatin1Char('\r'));
    if (result.endsWith(QLatin1String("$L")))
        result.chop(2);
    return result;
}

QString decodeRecordCharacters(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == kRecordLineBreak)
            result += QLatin1String("\r\n");
        else if (c.unicode() >= kRecordFirstTimeCode && c.unicode() <= kRecordLastTimeCode)
            result += timePlaceholder(c.unicode() - kRecordFirstTimeCode);
        else
            result += c;
    }
    return result;
}

std::optional<char32_t> firstUnsendableCharacter(const QString &text)
{
    for (const char32_t c : text.toUcs4()) {
        if (c > kLastLineCharacter || reservedBySign(c))
            return c;
    }
    return std::nullopt;
}

QString unsendableCharacterText(const QString &text)
{
    const std::optional<char32_t> c = firstUnsendableCharacter(text);
    if (!c)
        return {};
    const QString name = QStringLiteral("\"") + QString::fromUcs4(&*c, 1) + QStringLiteral("\" (U+")
        + QString::number(uint(*c), 16).toUpper().rightJustified(4, QLatin1Char('0'))
        + QLatin1Char(')');
    const QString why = reservedBySign(*c)
        ? QStringLiteral(", which the sign reads as a line break or a time")
        : QStringLiteral(", which the sign's line cannot carry");
    return QStringLiteral("The message holds ") + name + why
        + QStringLiteral(". Remove it to upload.");
}

Qt::Alignment textAlignment(int code)
{
    switch (code) {
    case 1:
        return Qt::AlignRight;
    case 2:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace tavrin::protocol
