#include "Misbehaviour.h"

#include "LogFormat.h"
#include "SignInterpreter.h"

#include <QRegularExpression>

#include <optional>

namespace tavrin::signsim {
namespace {

std::optional<int> countFromOne(const QString &text, QString *error)
{
    static const QRegularExpression kCount(QStringLiteral("^\\d{1,9}$"));
    if (kCount.match(text).hasMatch() && text.toInt() >= 1)
        return text.toInt();
    *error = QStringLiteral("expects a whole number from 1, not \"%1\"").arg(text);
    return std::nullopt;
}

// A command as the sign reads it: a terminal ending lines with CR LF leaves the LF in front.
QByteArrayView asRead(const QByteArray &command)
{
    qsizetype start = 0;
    while (start < command.size() && command[start] == '\n')
        ++start;
    return QByteArrayView(command).sliced(start);
}

bool isLatin1(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xff)
            return false;
    }
    return true;
}

// The bytes of an --answer line: Latin-1 text with \xHH and \\ escapes.
std::optional<QByteArray> unescapeLine(const QString &text, QString *error)
{
    static const QString kHexDigits = QStringLiteral("0123456789abcdef");
    if (!isLatin1(text)) {
        *error = QStringLiteral("the line must be Latin-1 text");
        return std::nullopt;
    }
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            bytes += char(text[i].unicode());
            continue;
        }
        const QString rest = text.mid(i + 1, 3).toLower();
        if (rest.startsWith(u'\\')) {
            bytes += '\\';
            ++i;
            continue;
        }
        const qsizetype high = rest.size() == 3 ? kHexDigits.indexOf(rest[1]) : -1;
        const qsizetype low = rest.size() == 3 ? kHexDigits.indexOf(rest[2]) : -1;
        if (!rest.startsWith(u'x') || high < 0 || low < 0) {
            *error = QStringLiteral("a backslash starts \\xHH or \\\\ only, at \"%1\"")
                         .arg(text.mid(i, 4));
            return std::nullopt;
        }
        bytes += char(high * 16 + low);
        i += 3;
    }
    return bytes;
}

} // namespace

bool Misbehaviour::set(const QString &option, const QString &value, QString *error)
{
    if (option == u"answer") {
        const qsizetype colon = value.indexOf(u':');
        if (colon < 0) {
            *error = QStringLiteral("expects N:LINE, not \"%1\"").arg(value);
            return false;
        }
        const std::optional<int> number = countFromOne(value.left(colon), error);
        const std::optional<QByteArray> line
            = number ? unescapeLine(value.mid(colon + 1), error) : std::nullopt;
        if (line)
            m_answers[*number] += *line;
        return line.has_value();
    }
    if (option == u"refuse") {
        static const QRegularExpression kNumber(QStringLiteral("^[-+]?\\d+$"));
        if (kNumber.match(value).hasMatch()) {
            const std::optional<int> number = countFromOne(value, error);
            if (number)
                m_refusedNumbers += *number;
            return number.has_value();
        }
        // An empty text, most likely an unset shell variable, would refuse every command.
        if (value.isEmpty() || !isLatin1(value)) {
            *error = QStringLiteral("expects a command number or the Latin-1 text a command "
                                    "starts with");
            return false;
        }
        m_refusedPrefixes += value.toLatin1();
        return true;
    }
    int *count = option == u"answer-every" ? &m_answerEvery
        : option == u"cut-config"          ? &m_cutConfiguration
        : option == u"die-after"           ? &m_dieAfter
                                           : nullptr;
    if (!count) {
        *error = QStringLiteral("no such misbehaviour: ") + option;
        return false;
    }
    const std::optional<int> number = countFromOne(value, error);
    if (number)
        *count = *number;
    return number.has_value();
}

Misbehaviour::Outcome Misbehaviour::handle(SignInterpreter &sign, const QByteArray &command)
{
    const int number = ++m_received;
    const QString described = QStringLiteral("command %1 ").arg(number);
    Outcome outcome;
    if (const auto answer = m_answers.constFind(number); answer != m_answers.cend()) {
        outcome.replies = *answer;
        outcome.notes << described + QStringLiteral("misheard on purpose: ")
                + escapeLogPayload(command);
    } else if (isRefused(asRead(command))) {
        outcome.replies = { "error" };
        outcome.notes << described + QStringLiteral("refused on purpose: ")
                + escapeLogPayload(command);
    } else {
        for (const QString &reply : sign.handle(QString::fromLatin1(command)))
            outcome.replies << reply.toLatin1();
        const bool configuration = asRead(command) == "DOWNLOAD_ALL";
        if (configuration && m_cutConfiguration > 0 && !outcome.replies.isEmpty()) {
            QByteArray &line = outcome.replies.first();
            const qsizetype head = line.indexOf(':');
            qsizetype end = head;
            for (int k = 0; k < m_cutConfiguration && end >= 0; ++k)
                end = line.indexOf(',', end + 1);
            if (head >= 0 && end >= 0) {
                line.truncate(end);
                outcome.notes << QStringLiteral("configuration line cut on purpose to %1 of "
                                                "its data fields")
                                     .arg(m_cutConfiguration);
            }
        }
        if (number % m_answerEvery != 0 && !outcome.replies.isEmpty()) {
            outcome.notes << described
                    + QStringLiteral("answered nothing on purpose, holding back ")
                    + escapeLogPayload(outcome.replies.join('\n'));
            outcome.replies.clear();
        }
    }
    if (number == m_dieAfter) {
        outcome.replies.clear();
        outcome.powerFails = true;
        outcome.notes << QStringLiteral("power failing on purpose after command %1").arg(number);
    }
    return outcome;
}

bool Misbehaviour::isRefused(QByteArrayView text) const
{
    if (m_refusedNumbers.contains(m_received))
        return true;
    for (const QByteArray &prefix : m_refusedPrefixes) {
        if (text.startsWith(prefix))
            return true;
    }
    return false;
}

} // namespace tavrin::signsim
