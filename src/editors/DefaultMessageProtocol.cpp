#include "DefaultMessageProtocol.h"

#include "MessageCodes.h"

#include <QStringList>

namespace tavrin::editors {

namespace {

QString attributeKeys(const MessageAttributes &a)
{
    return QStringLiteral(" f=") + QString::number(a.font) + QStringLiteral(" c=")
        + QString::number(a.color) + QStringLiteral(" s=") + QString::number(a.style)
        + QStringLiteral(" a=") + QString::number(a.alignment) + QStringLiteral(" sp=")
        + QString::number(a.speed) + QStringLiteral(" p=") + QString::number(a.pause);
}

} // namespace

QString defaultMessageCommand(const QString &text, const MessageAttributes &attributes,
                              bool timeDisplayOn)
{
    QString command;
    if (text.isEmpty())
        command = QStringLiteral("<del id=def>");
    else if (!timeDisplayOn)
        command = QStringLiteral("<DF") + attributeKeys(attributes) + QLatin1Char('>') + text;
    return applyTimeAndLineCodes(command);
}

QString timeDisplayCommand(const MessageAttributes &attributes, int timeFormat)
{
    return QStringLiteral("<TIME") + attributeKeys(attributes) + QStringLiteral(" fm=")
        + QString::number(timeFormat) + QStringLiteral(">IDLE ON");
}

DefaultReply parseDefaultReply(const QString &line)
{
    using Kind = DefaultReply::Kind;
    DefaultReply reply;
    if (line.isEmpty())
        return reply;
    if (line.contains(QLatin1String("done"), Qt::CaseInsensitive)) {
        reply.kind = Kind::Done;
    } else if (line.compare(QLatin1String("error"), Qt::CaseInsensitive) == 0) {
        // the sign refused a command: nothing to show
    } else if (line.startsWith(QLatin1String("TIME"))) {
        reply.kind = Kind::TimeStatus;
        const QStringList parts = line.split(QLatin1Char(':'));
        if (parts.size() > 2)
            reply.timeDisplayOn = parts.at(2) == QLatin1String("1");
    } else if (line.startsWith(QLatin1String("default"))) {
        reply.kind = Kind::DefaultUploaded;
    } else if (!line.contains(QLatin1Char(':'))
               || line.contains(QLatin1String("SET TIME"), Qt::CaseInsensitive)) {
        // another acknowledgement, or the clock's
    } else {
        reply.kind = Kind::Record;
        reply.record = decodeDefaultMessageRecord(line);
    }
    return reply;
}

DefaultReply parseTestReply(const QString &line)
{
    DefaultReply reply = parseDefaultReply(line);
    // Without its own TIME and "default" rules, those lines fall to the later ones.
    if (reply.kind == DefaultReply::Kind::TimeStatus
        || reply.kind == DefaultReply::Kind::DefaultUploaded) {
        reply = {};
        if (line.contains(QLatin1Char(':'))
            && !line.contains(QLatin1String("SET TIME"), Qt::CaseInsensitive)) {
            reply.kind = DefaultReply::Kind::Record;
            reply.record = decodeDefaultMessageRecord(line);
        }
    }
    return reply;
}

} // namespace tavrin::editors
