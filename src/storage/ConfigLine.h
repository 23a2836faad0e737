#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace tavrin::storage {

enum class ConfigKey {
    Model,
    Com,
    Pri, // index: priority row 0-4
    LinkID, // index: link ID 0-7
    DefaultMsg,
    DefaultFont,
    DefaultColor,
    DefaultStyle,
    DefaultAlignment,
    DefaultSpeed,
    DefaultPause,
    AutoID,
};

// One keyed line of a .led file, before any of its value is interpreted.
struct ConfigLine
{
    ConfigKey key = ConfigKey::Model;
    int index = 0;
    QString value;
    friend bool operator==(const ConfigLine &, const ConfigLine &) = default;
};

// The key as the file spells it, colon included: "Model:", "Pri3:", "LinkID7:".
QString configKeyText(ConfigKey key, int index = 0);

// A key counts only at the start of the line (blanks before it allowed), compared
// case-blind, so a default message that holds "AutoID:" is never taken for that key.
// The value is the whole rest of the line: a message such as "Call 12:30" or one with a
// "<hh:mm:ss>" field comes back whole. Lines without a key give nothing.
std::optional<ConfigLine> splitConfigLine(QStringView line);

} // namespace tavrin::storage
