#include "ConfigLine.h"

#include "SignConfig.h"

#include <array>

namespace tavrin::storage {

namespace {

struct KeyName
{
    ConfigKey key;
    const char *name; // without the row or link digit and colon
    int count; // how many numbered keys, 0 for a plain one
};

// No key is a prefix of another, so at most one matches a line.
constexpr std::array kKeyNames = {
    KeyName { ConfigKey::Model, "Model", 0 },
    KeyName { ConfigKey::Com, "Com", 0 },
    KeyName { ConfigKey::Pri, "Pri", protocol::kRows },
    KeyName { ConfigKey::LinkID, "LinkID", protocol::kLinks },
    KeyName { ConfigKey::DefaultMsg, "DefaultMsg", 0 },
    KeyName { ConfigKey::DefaultFont, "DefaultFont", 0 },
    KeyName { ConfigKey::DefaultColor, "DefaultColor", 0 },
    KeyName { ConfigKey::DefaultStyle, "DefaultStyle", 0 },
    KeyName { ConfigKey::DefaultAlignment, "DefaultAlignment", 0 },
    KeyName { ConfigKey::DefaultSpeed, "DefaultSpeed", 0 },
    KeyName { ConfigKey::DefaultPause, "DefaultPause", 0 },
    KeyName { ConfigKey::AutoID, "AutoID", 0 },
};

const KeyName &keyName(ConfigKey key)
{
    for (const KeyName &k : kKeyNames) {
        if (k.key == key)
            return k;
    }
    return kKeyNames.front();
}

} // namespace

QString configKeyText(ConfigKey key, int index)
{
    const KeyName &k = keyName(key);
    QString text = QLatin1String(k.name);
    if (k.count > 0)
        text += QString::number(index);
    return text + QLatin1Char(':');
}

std::optional<ConfigLine> splitConfigLine(QStringView line)
{
    qsizetype start = 0;
    while (start < line.size()
           && (line[start] == QLatin1Char(' ') || line[start] == QLatin1Char('\t')))
        ++start;
    const QStringView rest = line.mid(start);

    for (const KeyName &k : kKeyNames) {
        const QLatin1String name(k.name);
        if (!rest.startsWith(name, Qt::CaseInsensitive))
            continue;
        qsizetype pos = name.size();
        int index = 0;
        if (k.count > 0) {
            const char16_t digit = pos < rest.size() ? rest[pos].unicode() : u'\0';
            index = digit - u'0';
            if (index < 0 || index >= k.count)
                continue;
            ++pos;
        }
        if (pos >= rest.size() || rest[pos] != QLatin1Char(':'))
            continue;
        return ConfigLine { k.key, index, rest.mid(pos + 1).toString() };
    }
    return std::nullopt;
}

} // namespace tavrin::storage
