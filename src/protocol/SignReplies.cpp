#include "SignReplies.h"

#include "ConfigurationLine.h"

#include <QList>

#include <algorithm>
#include <optional>

namespace tavrin::protocol {

namespace {

using namespace configuration;

constexpr int kRecordFields = 9;
constexpr int kRecordCodes = 6;

bool startsWith(QStringView text, QStringView prefix)
{
    return text.startsWith(prefix, Qt::CaseSensitive);
}

bool isWord(QStringView line, QStringView word)
{
    return withoutCarriageReturn(line).compare(word, Qt::CaseInsensitive) == 0;
}

// A decimal number as the sign writes one: digits, perhaps a fraction, blanks around.
bool isNumber(QStringView field)
{
    const QStringView text = field.trimmed();
    if (text.isEmpty())
        return false;
    bool digits = false;
    bool point = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9')
            digits = true;
        else if (c == u'-' && i == 0)
            continue;
        else if (c == u'.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

bool hasControlCharacters(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

// The data part between the first and the second ":", once the head is a name.
std::optional<QList<QStringView>> dataFields(QStringView line)
{
    const QStringView body = withoutCarriageReturn(line);
    if (hasControlCharacters(body))
        return std::nullopt;
    const qsizetype colon = body.indexOf(u':');
    if (colon < 0)
        return std::nullopt;
    QString head = body.left(colon).toString();
    head.remove(QStringLiteral("DOWNLOAD_ALL"), Qt::CaseSensitive);
    if (head.section(u',', 0, 0).isEmpty())
        return std::nullopt;
    QStringView data = body.mid(colon + 1);
    if (const qsizetype end = data.indexOf(u':'); end >= 0)
        data = data.left(end);
    return data.split(u',');
}

} // namespace

QStringView withoutCarriageReturn(QStringView line)
{
    return line.endsWith(u'\r') ? line.chopped(1) : line;
}

bool isRefusal(QStringView line)
{
    return withoutCarriageReturn(line).trimmed().compare(u"error", Qt::CaseInsensitive) == 0;
}

Expectation expectationFor(QStringView command)
{
    using Kind = Expectation::Kind;
    const QStringView text = withoutCarriageReturn(command);
    if (text.isEmpty())
        return { Kind::None, {} }; // a bare "\r", which the sign lets pass
    if (text == u"DOWNLOAD_ALL")
        return { Kind::ConfigurationLine, {} };
    if (text == u"DOWNLOAD_DEFAULT_MSG")
        return { Kind::DefaultRecord, {} };
    if (text == u"TIME_STATUS")
        return { Kind::TimeStatus, {} };
    if (text == u"RESET")
        return { Kind::Word, { QStringLiteral("reset") } };
    if (text == u"<TIME>IDLE ON" || text == u"<TIME>IDLE OFF")
        return { Kind::None, {} };
    if (startsWith(text, u"<DF pr=") || text == u"<FD>" || startsWith(text, u"<TIME f="))
        return { Kind::Word, { QStringLiteral("done") } };
    if (startsWith(text, u"<DF f="))
        return { Kind::Word, { QStringLiteral("default msg"), QStringLiteral("done") } };
    if (text == u"<del id=def>")
        return { Kind::Word, { QStringLiteral("default deleted") } };
    if (text == u"<id=auto>")
        return { Kind::Word, { QStringLiteral("Auto ID") } };
    if (text == u"<id=user>")
        return { Kind::Word, { QStringLiteral("User ID") } };
    if (startsWith(text, u"<UC>"))
        return { Kind::Word, { QStringLiteral("user cmd") } };
    if (startsWith(text, u"<Time time="))
        return { Kind::Word, { QStringLiteral("SET TIME OK") } };
    if (startsWith(text, u"<link id=")) {
        const QStringView rest = text.mid(9);
        const qsizetype blank = rest.indexOf(u' ');
        bool ok = false;
        const int id = rest.left(blank).toInt(&ok);
        if (ok && startsWith(rest.mid(blank + 1), u"cap=0>"))
            return { Kind::Word, { QStringLiteral("delinked") } };
        if (ok)
            return { Kind::Linked, {}, id };
    }
    if (startsWith(text, u"<id="))
        return { Kind::Word, { QStringLiteral("done") } }; // a test message
    return { Kind::AnyReply, {} };
}

Verdict judge(const Expectation &expectation, QStringView line)
{
    using Kind = Expectation::Kind;
    if (line.isEmpty())
        return Verdict::Unrelated;
    // A whole configuration line can hold any word in its user command; it answers nothing
    // but DOWNLOAD_ALL, and "error" never stands in for it.
    if (expectation.kind == Kind::ConfigurationLine)
        return isWholeConfigurationLine(line) ? Verdict::Confirms
            : isRefusal(line)                 ? Verdict::Refuses
                                              : Verdict::Unrelated;
    if (isRefusal(line))
        return expectation.kind == Kind::None ? Verdict::Unrelated : Verdict::Refuses;
    bool confirms = false;
    switch (expectation.kind) {
    case Kind::ConfigurationLine:
        break;
    case Kind::DefaultRecord:
        confirms = isWholeDefaultRecord(line);
        break;
    case Kind::TimeStatus: {
        const QList<QStringView> parts = withoutCarriageReturn(line).split(u':');
        confirms = parts.size() == 3 && parts.at(0) == u"TIME"
            && (parts.at(2) == u"0" || parts.at(2) == u"1");
        break;
    }
    case Kind::Word:
        confirms = std::any_of(expectation.words.begin(), expectation.words.end(),
                               [line](const QString &word) { return isWord(line, word); });
        break;
    case Kind::Linked:
        confirms = isWord(line, QStringLiteral("linked %1").arg(expectation.linkId));
        break;
    case Kind::None:
        break;
    case Kind::AnyReply:
        confirms = true;
        break;
    }
    return confirms ? Verdict::Confirms : Verdict::Unrelated;
}

bool isWholeConfigurationLine(QStringView line)
{
    const auto fields = dataFields(line);
    if (!fields || fields->size() < kFieldCount)
        return false;
    for (int i = 0; i < kLinkFieldsStart; ++i) {
        if (!isNumber(fields->at(i)))
            return false;
    }
    for (int n = 0; n < kLinkEntries; ++n) {
        const int base = kLinkFieldsStart + kLinkEntryFields * n;
        if (!isNumber(fields->at(base)) || fields->at(base + 1).isEmpty()
            || !isNumber(fields->at(base + 2)))
            return false;
    }
    return isNumber(fields->at(kIdModeField));
}

bool isWholeDefaultRecord(QStringView line)
{
    const auto fields = dataFields(line);
    if (!fields || fields->size() < kRecordFields)
        return false;
    for (int i = 0; i < kRecordCodes; ++i) {
        if (!isNumber(fields->at(i)))
            return false;
    }
    return true;
}

SignAnswer SignAnswer::paired(const QString &line, const QString &outstanding)
{
    const Verdict verdict = judge(expectationFor(outstanding), line);
    if (verdict == Verdict::Unrelated)
        return { line, {}, verdict };
    return { line, outstanding, verdict };
}

} // namespace tavrin::protocol
