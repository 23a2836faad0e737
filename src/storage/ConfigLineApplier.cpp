#include "ConfigLineApplier.h"

#include <QRegularExpression>

#include <array>
#include <cmath>
#include <limits>

namespace tavrin::storage {

using protocol::Code;
using protocol::kSignFieldOrder;
using vocab::Attribute;

namespace {

constexpr int kLinkPriorityLimit = 5; // a LinkID priority of 5 or more leaves the list as it is
constexpr int kPriFieldCount = 8; // the seven codes in the sign's field order, then the timeout

QString quoted(QStringView text)
{
    return QLatin1Char('"') + text.toString() + QLatin1Char('"');
}

// Applies one keyed line; the first failing value ends it with an error and nothing applied.
class ConfigLineApplier
{
public:
    ConfigLineApplier(int lineNumber, const ConfigLine &line, SavedSettings &settings,
                      const vocab::MainProfile &lists)
        : m_lineNumber(lineNumber)
        , m_line(line)
        , m_settings(settings)
        , m_lists(lists)
    {
    }

    // A line without effect (a "Pri" line of the wrong length) gives neither error nor change.
    bool tookEffect() const { return m_tookEffect; }

    std::optional<ReadError> apply()
    {
        switch (m_line.key) {
        case ConfigKey::Model:
            m_settings.modelLabel = m_line.value;
            break;
        case ConfigKey::Com:
            applyCom();
            break;
        case ConfigKey::Pri:
            applyPriorityRow();
            break;
        case ConfigKey::LinkID:
            applyLink();
            break;
        case ConfigKey::DefaultMsg:
            m_message.text = m_line.value; // its character-170 line breaks stay
            break;
        case ConfigKey::DefaultFont:
            applyDefault(m_message.attributes.font);
            break;
        case ConfigKey::DefaultColor:
            applyDefault(m_message.attributes.color);
            break;
        case ConfigKey::DefaultStyle:
            applyDefault(m_message.attributes.style);
            break;
        case ConfigKey::DefaultAlignment:
            applyDefault(m_message.attributes.alignment);
            break;
        case ConfigKey::DefaultSpeed:
            applyDefault(m_message.attributes.speed);
            break;
        case ConfigKey::DefaultPause:
            applyDefault(m_message.attributes.pause);
            break;
        case ConfigKey::AutoID:
            applyAutoID();
            break;
        }
        return m_error;
    }

private:
    void applyCom()
    {
        const auto port = code(m_line.value);
        // Com:0 is a port list without a selection, which is what a save of one writes.
        if (port && isListPosition(*port - 1, vocab::kPortCount, m_line.value))
            m_settings.portIndex
                = vocab::selectByCode(m_settings.portIndex, *port - 1, vocab::kPortCount);
    }

    void applyPriorityRow()
    {
        const QStringList fields = m_line.value.split(QLatin1Char(','));
        if (fields.size() != kPriFieldCount) {
            m_tookEffect = false;
            return;
        }
        std::array<Code, kSignFieldOrder.size()> codes {};
        for (size_t i = 0; i < kSignFieldOrder.size(); ++i) {
            const QString &field = fields[qsizetype(i)];
            const auto value = toInt16(leadingNumber(field), field);
            if (!value || !isListPosition(*value, listCount(kSignFieldOrder[i]), field))
                return;
            codes[i] = *value;
        }
        protocol::PriorityRow &row = m_settings.config.rows[size_t(m_line.index)];
        for (size_t i = 0; i < kSignFieldOrder.size(); ++i) {
            Code &current = row.code(kSignFieldOrder[i]);
            current = Code(vocab::selectByCode(current, codes[i], listCount(kSignFieldOrder[i])));
        }
        row.timeout = fields[kPriFieldCount - 1];
    }

    void applyLink()
    {
        protocol::LinkRow &link = m_settings.config.links[size_t(m_line.index)];
        const qsizetype lastComma = m_line.value.lastIndexOf(QLatin1Char(','));
        if (lastComma < 0) {
            link = protocol::LinkRow {};
            return;
        }
        // A link with several capcodes is saved as "234567,234568,1": the capcode is every
        // field but the last, so our own files come back whole.
        const QString priorityText = m_line.value.mid(lastComma + 1);
        const auto priority = strictNumber(priorityText);
        if (!priority)
            return;
        if (*priority < kLinkPriorityLimit) {
            const auto value = toInt16(*priority, priorityText);
            if (!value || !isListPosition(*value, vocab::kPriorityCount, priorityText))
                return;
            link.priority = Code(vocab::selectByCode(link.priority, *value, vocab::kPriorityCount));
        }
        link.capcode = m_line.value.left(lastComma);
    }

    void applyDefault(qint16 &field)
    {
        if (const auto value = code(m_line.value))
            field = *value;
    }

    void applyAutoID()
    {
        constexpr int kCheckBoxStates = 2; // 0 clear, 1 ticked
        const auto value = code(m_line.value);
        if (value && isListPosition(*value, kCheckBoxStates, m_line.value, false))
            m_settings.config.autoID = *value;
    }

    std::optional<Code> code(QStringView text)
    {
        const auto value = strictNumber(text);
        return value ? toInt16(*value, text) : std::nullopt;
    }

    // A decimal number and nothing else, blanks around it allowed.
    std::optional<double> strictNumber(QStringView text)
    {
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);
        if (!ok || std::isnan(value)) {
            fail(kErrorTypeMismatch, quoted(text) + QLatin1String(" is not a number"));
            return std::nullopt;
        }
        return value;
    }

    // The number a field starts with, 0 when it starts with none ("12abc" is 12).
    static double leadingNumber(const QString &text)
    {
        static const QRegularExpression leading(
            QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
        const QRegularExpressionMatch match = leading.match(text);
        return match.hasMatch() ? match.capturedView().trimmed().toDouble() : 0.0;
    }

    std::optional<Code> toInt16(double value, QStringView shown)
    {
        const double rounded = std::round(value);
        if (!(rounded >= std::numeric_limits<Code>::min()
              && rounded <= std::numeric_limits<Code>::max())) {
            fail(kErrorOverflow, quoted(shown) + QLatin1String(" does not fit in 16 bits"));
            return std::nullopt;
        }
        return Code(rounded);
    }

    // -1 (nothing selected) is a position every list accepts, unless noneAllowed is false.
    bool isListPosition(int code, int count, QStringView shown, bool noneAllowed = true)
    {
        if ((code == -1 && noneAllowed) || (code >= 0 && code < count))
            return true;
        fail(kErrorInvalidValue, quoted(shown) + QLatin1String(" is not in the list"));
        return false;
    }

    void fail(int number, const QString &detail)
    {
        m_error = ReadError { number,
                              QLatin1String("line ") + QString::number(m_lineNumber)
                                  + QLatin1String(", ") + configKeyText(m_line.key, m_line.index)
                                  + QLatin1Char(' ') + detail };
    }

    int listCount(Attribute attribute) const { return int(m_lists.vocabulary(attribute).size()); }

    int m_lineNumber = 0;
    const ConfigLine &m_line;
    SavedSettings &m_settings;
    protocol::DefaultMessage &m_message = m_settings.defaultMessage;
    const vocab::MainProfile &m_lists;
    std::optional<ReadError> m_error;
    bool m_tookEffect = true;
};

} // namespace

std::optional<ReadError> applyConfigLine(int lineNumber, const ConfigLine &line,
                                         SavedSettings &settings, const vocab::MainProfile &lists,
                                         bool &tookEffect)
{
    ConfigLineApplier applier(lineNumber, line, settings, lists);
    const std::optional<ReadError> error = applier.apply();
    tookEffect = applier.tookEffect();
    return error;
}

} // namespace tavrin::storage
