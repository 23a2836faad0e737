#include "TestMessageCommand.h"

#include "MessageCodes.h"

namespace tavrin::cli {

QString plainTestMessage(int messageId, const protocol::PriorityRow &row, const QString &text)
{
    const auto code = [](protocol::Code value) {
        return QString::number(value);
    };
    const QString header = QStringLiteral("<id=") + QString::number(messageId)
        + QStringLiteral(" f=") + code(row.font) + QStringLiteral(" s=") + code(row.style)
        + QStringLiteral(" c=") + code(row.color) + QStringLiteral(" a=") + code(row.alignment)
        + QStringLiteral(" b=") + code(row.beep) + QStringLiteral(" p=") + code(row.pause)
        + QStringLiteral(" sp=") + code(row.speed) + QStringLiteral(" t=") + row.timeout
        + QLatin1Char('>');
    return editors::applyTimeAndLineCodes(header + text) + QLatin1Char('\r');
}

} // namespace tavrin::cli
