#include "SignInterpreter.h"

#include "SignRecords.h"

#include "Vocabulary.h"

#include <QDateTime>
#include <QRegularExpression>

#include <initializer_list>

namespace tavrin::signsim {
namespace {

using vocab::Attribute;

const QString kDone = QStringLiteral("done");
const QString kError = QStringLiteral("error");

constexpr int kMaxTimeoutSeconds = 32767; // the client keeps timeouts as 16-bit integers
constexpr int kMessageIdCount = 8;
constexpr int kMaxCapcodeDigits = 10;

int listSize(Attribute attribute)
{
    return int(vocab::standardVocabulary(attribute).size());
}

// A plain decimal number in [0, count).
std::optional<int> numberBelow(const QString &text, int count)
{
    static const QRegularExpression kDecimal(QStringLiteral("^\\d{1,6}$"));
    if (!kDecimal.match(text).hasMatch())
        return std::nullopt;
    const int value = text.toInt();
    return value < count ? std::optional(value) : std::nullopt;
}

bool hasKeys(const QMap<QString, QString> &attributes, std::initializer_list<const char *> keys)
{
    if (attributes.size() != qsizetype(keys.size()))
        return false;
    for (const char *key : keys) {
        if (!attributes.contains(QLatin1StringView(key)))
            return false;
    }
    return true;
}

QString value(const QMap<QString, QString> &attributes, const char *key)
{
    return attributes.value(QLatin1StringView(key));
}

// f, c, s, a, sp and p of a tag; all six must be valid codes.
std::optional<MessageAttributes> messageAttributes(const QMap<QString, QString> &attributes)
{
    const auto font = numberBelow(value(attributes, "f"), listSize(Attribute::Font));
    const auto color = numberBelow(value(attributes, "c"), listSize(Attribute::Color));
    const auto style = numberBelow(value(attributes, "s"), listSize(Attribute::Style));
    const auto alignment = numberBelow(value(attributes, "a"), listSize(Attribute::Alignment));
    const auto speed = numberBelow(value(attributes, "sp"), listSize(Attribute::Speed));
    const auto pause = numberBelow(value(attributes, "p"), listSize(Attribute::Pause));
    if (!font || !color || !style || !alignment || !speed || !pause)
        return std::nullopt;
    return MessageAttributes { *font, *color, *style, *alignment, *speed, *pause };
}

// "$L" becomes the line-break character and "$T0".."$T7" the time characters.
QString storedMessageText(const QString &text)
{
    QString stored;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QStringView rest = QStringView(text).mid(i);
        if (rest.startsWith(u"$L")) {
            stored += kLineBreakChar;
            ++i;
        } else if (rest.size() >= 3 && rest.startsWith(u"$T") && rest[2] >= u'0'
                   && rest[2] <= u'7') {
            stored += QChar(kTimeCodeBase + (rest[2].unicode() - u'0'));
            i += 2;
        } else {
            stored += text[i];
        }
    }
    return stored;
}

std::optional<QStringList> capcodeList(const QString &text)
{
    static const QRegularExpression kCapcode(QStringLiteral("^\\d{1,%1}$").arg(kMaxCapcodeDigits));
    static const QRegularExpression kAllZero(QStringLiteral("^0+$"));
    const QStringList capcodes = text.split(u',');
    for (const QString &capcode : capcodes) {
        if (!kCapcode.match(capcode).hasMatch() || kAllZero.match(capcode).hasMatch())
            return std::nullopt;
    }
    return capcodes;
}

} // namespace

SignInterpreter::SignInterpreter(QString model, QString build)
    : m_model(std::move(model))
    , m_build(std::move(build))
    , m_state(SignState::factory(m_model))
{
}

QStringList SignInterpreter::handle(const QString &command)
{
    // A terminal that ends lines with CR LF leaves the LF in front of the next command.
    QString text = command;
    while (text.startsWith(u'\n'))
        text.remove(0, 1);

    if (text.isEmpty())
        return {}; // a bare "\r", as the default-message window sends with the time display on
    if (text == u"DOWNLOAD_ALL")
        return { configurationLine(m_state, m_model, m_build) };
    if (text == u"DOWNLOAD_DEFAULT_MSG")
        return { defaultMessageRecord(m_state, m_model) };
    if (text == u"TIME_STATUS")
        return { QStringLiteral("TIME:STATUS:") + (m_state.timeDisplay.on ? u'1' : u'0') };
    if (text == u"RESET")
        return { QStringLiteral("reset") };
    if (const std::optional<Tag> tag = parseTag(text))
        return handleTag(*tag);
    return { kError };
}

std::optional<SignInterpreter::Tag> SignInterpreter::parseTag(const QString &command)
{
    const qsizetype end = command.indexOf(u'>');
    if (!command.startsWith(u'<') || end < 0)
        return std::nullopt;
    Tag tag;
    tag.body = command.mid(end + 1);
    QStringList tokens = command.mid(1, end - 1).split(u' ', Qt::SkipEmptyParts);
    if (!tokens.isEmpty() && !tokens.first().contains(u'='))
        tag.name = tokens.takeFirst();
    for (const QString &token : std::as_const(tokens)) {
        const qsizetype equals = token.indexOf(u'=');
        if (equals <= 0)
            return std::nullopt;
        const QString key = token.left(equals);
        if (tag.attributes.contains(key))
            return std::nullopt;
        tag.attributes.insert(key, token.mid(equals + 1));
    }
    return tag;
}

QStringList SignInterpreter::handleTag(const Tag &tag)
{
    const bool bare = tag.attributes.isEmpty();
    if (tag.name == u"DF")
        return tag.attributes.contains(QStringLiteral("pr")) ? setPriorityRow(tag)
                                                             : setDefaultMessage(tag);
    if (tag.name == u"TIME" && bare && (tag.body == u"IDLE ON" || tag.body == u"IDLE OFF")) {
        m_state.timeDisplay.on = tag.body == u"IDLE ON";
        return {};
    }
    if (tag.name == u"TIME")
        return setTimeDisplay(tag);
    if (tag.name == u"Time")
        return setClock(tag);
    if (tag.name == u"link")
        return setLink(tag);
    if (tag.name == u"UC" && bare) {
        m_state.userCommand = tag.body;
        return { QStringLiteral("user cmd") };
    }
    if (tag.name == u"FD" && bare && tag.body.isEmpty()) {
        m_state = SignState::factory(m_model);
        return { kDone };
    }
    if (tag.name == u"del" && hasKeys(tag.attributes, { "id" })
        && value(tag.attributes, "id") == u"def" && tag.body.isEmpty()) {
        m_state.defaultMessage.text.clear();
        return { QStringLiteral("default deleted") };
    }
    if (tag.name.isEmpty() && hasKeys(tag.attributes, { "id" }) && tag.body.isEmpty()) {
        const QString mode = value(tag.attributes, "id");
        if (mode == u"auto" || mode == u"user") {
            m_state.autoId = mode == u"auto";
            return { m_state.autoId ? QStringLiteral("Auto ID") : QStringLiteral("User ID") };
        }
    }
    if (tag.name.isEmpty())
        return acceptTestMessage(tag);
    return { kError };
}

QStringList SignInterpreter::setPriorityRow(const Tag &tag)
{
    if (!hasKeys(tag.attributes, { "pr", "f", "c", "s", "a", "sp", "p", "b", "t" })
        || !tag.body.isEmpty())
        return { kError };
    const auto row = numberBelow(value(tag.attributes, "pr"), kPriorityCount);
    const auto attributes = messageAttributes(tag.attributes);
    const auto beep = numberBelow(value(tag.attributes, "b"), listSize(Attribute::Beep));
    const auto timeout = numberBelow(value(tag.attributes, "t"), kMaxTimeoutSeconds + 1);
    if (!row || !attributes || !beep || !timeout)
        return { kError };
    m_state.priorities[*row] = { *attributes, *beep, *timeout };
    return { kDone };
}

QStringList SignInterpreter::setDefaultMessage(const Tag &tag)
{
    if (!hasKeys(tag.attributes, { "f", "c", "s", "a", "sp", "p" }))
        return { kError };
    const auto attributes = messageAttributes(tag.attributes);
    if (!attributes)
        return { kError };
    m_state.defaultMessage = { storedMessageText(tag.body), *attributes };
    return { QStringLiteral("default msg") };
}

QStringList SignInterpreter::setTimeDisplay(const Tag &tag)
{
    if (!hasKeys(tag.attributes, { "f", "c", "s", "a", "sp", "p", "fm" }) || tag.body != u"IDLE ON")
        return { kError };
    const auto attributes = messageAttributes(tag.attributes);
    const auto format = numberBelow(value(tag.attributes, "fm"), vocab::kTimeFormatCount);
    if (!attributes || !format)
        return { kError };
    m_state.timeDisplay = { true, *attributes, *format };
    return { kDone };
}

QStringList SignInterpreter::setClock(const Tag &tag)
{
    static const QRegularExpression kTime(QStringLiteral("^(\\d\\d):(\\d\\d):(\\d\\d)$"));
    static const QRegularExpression kDate(QStringLiteral("^(\\d{1,5})/(\\d\\d)/(\\d\\d)-[0-6]$"));
    if (!hasKeys(tag.attributes, { "time", "date" }) || tag.body != u"SET TIME")
        return { kError };
    const QRegularExpressionMatch t = kTime.match(value(tag.attributes, "time"));
    const QRegularExpressionMatch d = kDate.match(value(tag.attributes, "date"));
    if (!t.hasMatch() || !d.hasMatch())
        return { kError };
    // The weekday is the client's to get right; a sign keeps what it is told.
    const QDate date(d.captured(1).toInt(), d.captured(2).toInt(), d.captured(3).toInt());
    const QTime time(t.captured(1).toInt(), t.captured(2).toInt(), t.captured(3).toInt());
    if (!date.isValid() || !time.isValid())
        return { kError };
    m_state.clockOffsetMs = QDateTime::currentDateTime().msecsTo(QDateTime(date, time));
    return { QStringLiteral("SET TIME OK") };
}

QStringList SignInterpreter::setLink(const Tag &tag)
{
    const QMap<QString, QString> &attributes = tag.attributes;
    const bool clearing = value(attributes, "cap") == u"0";
    const bool shapeOk = clearing
        ? hasKeys(attributes, { "id", "cap" }) || hasKeys(attributes, { "id", "cap", "pr" })
        : hasKeys(attributes, { "id", "cap", "pr" });
    const auto id = numberBelow(value(attributes, "id"), kLinkIdCount);
    if (!shapeOk || !tag.body.isEmpty() || !id)
        return { kError };
    LinkSlot &slot = m_state.links[*id];
    if (clearing) {
        slot = {};
        return { QStringLiteral("delinked") };
    }
    const auto capcodes = capcodeList(value(attributes, "cap"));
    const auto priority = numberBelow(value(attributes, "pr"), kPriorityCount);
    if (!capcodes || !priority)
        return { kError };
    // The configuration line has room for sixteen capcodes in all.
    if (m_state.capcodeCount() - slot.capcodes.size() + capcodes->size() > kLinkEntryCount)
        return { kError };
    slot = { *capcodes, *priority };
    return { QStringLiteral("linked ") + QString::number(*id) };
}

QStringList SignInterpreter::acceptTestMessage(const Tag &tag)
{
    if (!hasKeys(tag.attributes, { "id", "f", "s", "c", "a", "b", "p", "sp", "t" }))
        return { kError };
    const auto id = numberBelow(value(tag.attributes, "id"), kMessageIdCount);
    const auto attributes = messageAttributes(tag.attributes);
    const auto beep = numberBelow(value(tag.attributes, "b"), listSize(Attribute::Beep));
    const auto timeout = numberBelow(value(tag.attributes, "t"), kMaxTimeoutSeconds + 1);
    if (!id || !attributes || !beep || !timeout)
        return { kError };
    return { kDone }; // shown once and forgotten
}

} // namespace tavrin::signsim
