#include "DefaultMessageProtocol.h"

#include "MessageCodes.h"

namespace tavrin::protocol {

namespace {

QString attributeKeys(const Attributes &a)
{
    return QStringLiteral(" f=") + QString::number(a.font) + QStringLiteral(" c=")
        + QString::number(a.color) + QStringLiteral(" s=") + QString::number(a.style)
        + QStringLiteral(" a=") + QString::number(a.alignment) + QStringLiteral(" sp=")
        + QString::number(a.speed) + QStringLiteral(" p=") + QString::number(a.pause);
}

} // namespace

QString DefaultMessage::summary() const
{
    const Attributes &a = attributes;
    return QLatin1String("Message:") + text + QLatin1String(", Font:") + QString::number(a.font)
        + QLatin1String(", Color:") + QString::number(a.color) + QLatin1String(", Style:")
        + QString::number(a.style) + QLatin1String(", Align:") + QString::number(a.alignment)
        + QLatin1String(", Speed:") + QString::number(a.speed) + QLatin1String(", Pause:")
        + QString::number(a.pause);
}

std::optional<DefaultMessage> defaultMessageOf(const DefaultMessageRecord &record)
{
    if (!record.text)
        return std::nullopt;
    DefaultMessage message { *record.text, {} };
    for (size_t i = 0; i < record.codes.size(); ++i) {
        if (!record.codes[i])
            return std::nullopt;
        message.attributes.code(kSignFieldOrder[i]) = *record.codes[i];
    }
    return message;
}

DefaultMessage comparableDefaultMessage(DefaultMessage message)
{
    message.text = decodeRecordCharacters(message.text);
    message.attributes.beep = -1;
    return message;
}

QString defaultMessageUpload(const DefaultMessage &message)
{
    const DefaultMessage comparable = comparableDefaultMessage(message);
    return defaultMessageCommand(comparable.text, comparable.attributes, false) + QLatin1Char('\r');
}

QString defaultMessageCommand(const QString &text, const Attributes &attributes, bool timeDisplayOn)
{
    QString command;
    if (text.isEmpty())
        command = QStringLiteral("<del id=def>");
    else if (!timeDisplayOn)
        command = QStringLiteral("<DF") + attributeKeys(attributes) + QLatin1Char('>') + text;
    return applyTimeAndLineCodes(command);
}

QString timeDisplayCommand(const Attributes &attributes, int timeFormat)
{
    return QStringLiteral("<TIME") + attributeKeys(attributes) + QStringLiteral(" fm=")
        + QString::number(timeFormat) + QStringLiteral(">IDLE ON");
}

DefaultReply parseDefaultReply(const SignAnswer &answer)
{
    using Kind = DefaultReply::Kind;
    using Expected = protocol::Expectation::Kind;
    DefaultReply reply;
    if (!answer.confirms())
        return reply;
    const Expected expected = protocol::expectationFor(answer.command).kind;
    // The record is read whole, whatever words its message holds ("Well done").
    if (expected == Expected::DefaultRecord) {
        reply.kind = Kind::Record;
        reply.record = decodeDefaultMessageRecord(answer.line);
    } else if (expected == Expected::TimeStatus) {
        reply.kind = Kind::TimeStatus;
        // Confirmed, it is "TIME:STATUS:0" or "TIME:STATUS:1", perhaps with a carriage return.
        reply.timeDisplayOn = protocol::withoutCarriageReturn(answer.line).endsWith(u'1');
    } else if (answer.command.startsWith(QLatin1String("<del id=def>"))) {
        reply.kind = Kind::DefaultDeleted;
    } else if (answer.line.contains(QLatin1String("done"), Qt::CaseInsensitive)) {
        reply.kind = Kind::Done;
    } else if (answer.line.startsWith(QLatin1String("default"))) {
        reply.kind = Kind::DefaultUploaded;
    }
    return reply;
}

DefaultReply parseTestReply(const SignAnswer &answer)
{
    DefaultReply reply = parseDefaultReply(answer);
    if (reply.kind != DefaultReply::Kind::Done && reply.kind != DefaultReply::Kind::Record)
        reply = {};
    return reply;
}

} // namespace tavrin::protocol
