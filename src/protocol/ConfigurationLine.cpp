#include "ConfigurationLine.h"

#include "ModelProfile.h"
#include "ReplyNumber.h"

#include <algorithm>
#include <array>

namespace tavrin::protocol {

using namespace configuration;

namespace {

constexpr int kTimeoutDivisor = 5; // the sign counts timeouts in fifths of a second
constexpr double kFirstInvalidLinkPriority = 5;

// Subtracted from each code in kSignFieldOrder by models that send characters.
constexpr std::array<double, 7> kCharacterOffsets = { 64, 65, 65, 48, 49, 48, 20 };
constexpr std::array<double, 7> kPlainOffsets = { 0, 0, 0, 0, 0, 0, 20 };

} // namespace

ConfigurationLine::ConfigurationLine(QStringView body)
    : m_body(body.toString())
{
    const qsizetype colon = m_body.indexOf(u':');
    m_head = m_body.left(colon);
    QStringView data = QStringView(m_body).mid(colon + 1);
    if (const qsizetype end = data.indexOf(u':'); end >= 0)
        data = data.left(end);
    m_head.remove(QStringLiteral("DOWNLOAD_ALL"), Qt::CaseSensitive);
    m_headFields = m_head.split(u',');
    // An empty data part has no fields at all, not one empty field.
    if (!data.isEmpty())
        m_fields = data.split(u',');
    m_characterCodes = sendsCharacterCodes(model());
}

std::optional<QString> ConfigurationLine::firmwareBuild() const
{
    if (m_headFields.size() < 2)
        return std::nullopt;
    return m_headFields.at(1);
}

bool ConfigurationLine::sendsCharacterCodes(const QString &model)
{
    return model == vocab::kModelKR4410 || model == vocab::kModelTM207;
}

std::optional<Code> ConfigurationLine::decode(int field, int order) const
{
    if (field >= m_fields.size())
        return std::nullopt;
    const double number = readNumber(m_fields.at(field));
    const auto &offsets = m_characterCodes ? kCharacterOffsets : kPlainOffsets;
    return roundToInt16(number - offsets[size_t(order)]);
}

std::optional<Code> ConfigurationLine::code(int row, vocab::Attribute attribute) const
{
    const auto at = std::find(kSignFieldOrder.begin(), kSignFieldOrder.end(), attribute);
    const int order = int(at - kSignFieldOrder.begin());
    return decode(row * kPriorityFields + order, order);
}

std::optional<Code> ConfigurationLine::timeoutSeconds(int row) const
{
    const int field = row * kPriorityFields + kPriorityFields - 1;
    if (field >= m_fields.size())
        return std::nullopt;
    return roundToInt16(readNumber(m_fields.at(field)) / kTimeoutDivisor);
}

QList<LinkEntry> ConfigurationLine::linkEntries() const
{
    QList<LinkEntry> entries;
    for (int n = 0; n < kLinkEntries; ++n) {
        const int base = kLinkFieldsStart + n * kLinkEntryFields;
        if (base + 1 >= m_fields.size())
            break;
        LinkEntry entry;
        entry.capcode = m_fields.at(base + 1).toString();
        bool ok = false;
        entry.id = m_fields.at(base).trimmed().toInt(&ok);
        if (!ok)
            entry.id = -1;
        if (base + 2 < m_fields.size()) {
            entry.priorityText = m_fields.at(base + 2).toString();
            const double number = readNumber(entry.priorityText);
            if (number < kFirstInvalidLinkPriority)
                entry.priority = roundToInt16(number);
        }
        entries << entry;
    }
    return entries;
}

std::optional<bool> ConfigurationLine::autoId() const
{
    if (m_fields.size() <= kIdModeField)
        return std::nullopt;
    return m_fields.at(kIdModeField) == u"1";
}

std::optional<QString> ConfigurationLine::userCommand() const
{
    if (m_fields.size() <= kUserCommandField)
        return std::nullopt;
    return m_fields.at(kUserCommandField).toString();
}

} // namespace tavrin::protocol
