#include "TestMessageCommand.h"

#include "MessageCodes.h"

namespace tavrin::protocol {

namespace {

std::optional<int> leadingCode(QStringView body, char16_t kind, int count)
{
    if (body.size() < 3 || body[0] != u'$' || body[1] != kind)
        return std::nullopt;
    const int index = body[2].unicode() - u'A';
    return index >= 0 && index < count ? std::optional(index) : std::nullopt;
}

} // namespace

QString fontCode(int index)
{
    return QStringLiteral("$F") + QChar(char16_t(u'A' + index));
}

QString colorCode(int index)
{
    return QStringLiteral("$C") + QChar(char16_t(u'A' + index));
}

std::optional<int> leadingFontCode(QStringView body)
{
    return leadingCode(body, u'F', kFontCodeCount);
}

std::optional<int> leadingColorCode(QStringView body)
{
    return leadingCode(body, u'C', kColorCodeCount);
}

QString testMessageCommand(int messageId, const PriorityRow &priority, const QString &body)
{
    const auto n = [](int code) {
        return QString::number(code);
    };
    const QString command = QStringLiteral("<id=") + n(messageId) + QStringLiteral(" f=")
        + n(priority.font) + QStringLiteral(" s=") + n(priority.style) + QStringLiteral(" c=")
        + n(priority.color) + QStringLiteral(" a=") + n(priority.alignment) + QStringLiteral(" b=")
        + n(priority.beep) + QStringLiteral(" p=") + n(priority.pause) + QStringLiteral(" sp=")
        + n(priority.speed) + QStringLiteral(" t=") + priority.timeout + QLatin1Char('>') + body;
    return applyTimeAndLineCodes(command) + QLatin1Char('\r');
}

} // namespace tavrin::protocol
