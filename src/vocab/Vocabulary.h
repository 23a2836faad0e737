#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <span>

namespace tavrin::vocab {

// A vocabulary is the ordered list a control shows; an attribute code is a position in it.
using Table = std::span<const char *const>;

enum class Attribute { Font, Color, Style, Alignment, Speed, Pause, Beep };
inline constexpr std::array kAttributes
    = { Attribute::Font,  Attribute::Color, Attribute::Style, Attribute::Alignment,
        Attribute::Speed, Attribute::Pause, Attribute::Beep };

Table standardVocabulary(Attribute attribute);
// The VX903 font, colour and effect lists of the main and test-message windows; the other
// attributes are the standard ones.
Table vx903Vocabulary(Attribute attribute);
// The default-message window's VX903 fonts have no fillers: 0 Normal .. 3 Large.
Table vx903DefaultMessageFonts();

QStringList toStringList(Table table);

struct Rgb
{
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb &, const Rgb &) = default;
};
// Screen colour that previews each colour code in the test-message composer.
const std::array<Rgb, 13> &displayColors();

inline constexpr int kPortCount = 12;
QString portEntry(int index); // "COM 1" for index 0
QStringList portEntries();

inline constexpr int kPriorityCount = 5;
QStringList priorityEntries(); // "Priority 0" .. "Priority 4"

inline constexpr int kLinkCount = 8;
QString linkLabel(int id); // "ID   3"

QStringList messageIdEntries(); // "0" .. "7"

struct TimeFormat
{
    const char *text; // as the list shows it
    bool isDate;
    const char *marker; // placeholder in a message text
    const char *code; // what the sign receives
};
inline constexpr int kTimeFormatCount = 8;
inline constexpr int kTimeOnlyFormatCount = 4; // positions 0-3 are times, 4-7 dates
const std::array<TimeFormat, kTimeFormatCount> &timeFormats();
QStringList timeFormatEntries(int count = kTimeFormatCount);

// The selection a list ends up with when code is chosen while it shows count entries and
// has current selected: -1 clears, an out-of-range code changes nothing.
int selectByCode(int current, int code, int count);

} // namespace tavrin::vocab
