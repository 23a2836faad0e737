#include "LogFormat.h"

#include <QRegularExpression>

namespace tavrin::signsim {
namespace {

constexpr char kPrintableFirst = 0x20;
constexpr char kPrintableLast = 0x7e;

QByteArray prefix(QTime time, QLatin1StringView tag)
{
    return time.toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1() + ' ' + tag.latin1() + ' ';
}

} // namespace

QString escapeLogPayload(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        if (byte == '\\')
            text += QLatin1StringView("\\\\");
        else if (byte == '\r')
            text += QLatin1StringView("\\r");
        else if (byte == '\n')
            text += QLatin1StringView("\\n");
        else if (byte >= kPrintableFirst && byte <= kPrintableLast)
            text += QLatin1Char(byte);
        else
            text += QStringLiteral("\\x")
                + QString::number(uchar(byte), 16).rightJustified(2, u'0').toUpper();
    }
    return text;
}

std::optional<QByteArray> unescapeLogPayload(QStringView text)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() > uchar(kPrintableLast))
            return std::nullopt;
        if (c != u'\\') {
            bytes += char(c.unicode());
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        switch (text[i].unicode()) {
        case u'\\':
            bytes += '\\';
            break;
        case u'r':
            bytes += '\r';
            break;
        case u'n':
            bytes += '\n';
            break;
        case u'x': {
            const QStringView digits = text.mid(i + 1, 2);
            const auto isHex = [](QChar d) {
                return d.isDigit() || (d >= u'A' && d <= u'F');
            };
            if (digits.size() != 2 || !isHex(digits[0]) || !isHex(digits[1]))
                return std::nullopt;
            bytes += char(digits.toInt(nullptr, 16));
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return bytes;
}

QByteArray formatLogLine(QTime time, LogTag tag, QByteArrayView payload)
{
    const QLatin1StringView name = tag == LogTag::Received ? QLatin1StringView("RX")
        : tag == LogTag::Sent                              ? QLatin1StringView("TX")
                                                           : QLatin1StringView("--");
    return prefix(time, name) + escapeLogPayload(payload).toLatin1() + '\n';
}

QByteArray formatLogNote(QTime time, const QString &text)
{
    return prefix(time, QLatin1StringView("--")) + text.toLatin1() + '\n';
}

std::optional<QByteArray> parseReceivedLogLine(QStringView line)
{
    static const QRegularExpression kReceived(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d RX "));
    const QRegularExpressionMatch match = kReceived.match(line);
    if (!match.hasMatch())
        return std::nullopt;
    return unescapeLogPayload(line.mid(match.capturedLength()));
}

} // namespace tavrin::signsim
