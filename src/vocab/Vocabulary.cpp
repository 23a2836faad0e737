#include "Vocabulary.h"

namespace tavrin::vocab {
namespace {

constexpr const char *kFonts[] = {
    "Small",
    "Small Normal 5 row",
    "Small Shade 5 row",
    "Small Wide 5 row",
    "Small Wide Shade 5 row",
    "Seven Row Normal",
    "Seven Row Shade",
    "Seven Row Wide",
    "Seven Row Wide Shade",
    "Seven Row Color Shade",
    "Seven Row Fancy",
    "Seven Row Shade Fancy",
    "Seven Row Wide Fancy",
    "Seven Row Wide Shade Fancy",
    "Seven Row Color Shade", // twice on purpose: codes 9 and 14 are different fonts
    "Ten Row Normal",
    "Ten Row Shade",
    "Ten Row Wide",
    "Ten Row Wide Shade",
    "15/16 Row Normal",
    "15/16 Row Shade",
    "15/16 Row Wide",
    "15/16 Row Wide Shade",
    "Shade 23",
    "Shade 31",
};

constexpr const char *kColors[] = {
    "Auto",  "Light Red", "Light Green", "Red",    "Green", "Yellow", "Brown",
    "Amber", "Orange",    "Mix V1",      "Mix V2", "Mix H", "Black",
};

constexpr const char *kEffects[] = {
    "auto",    "flash",     "hold",      "interlock",  "rolldown", "rollup",    "Roll in",
    "rollout", "rollleft",  "rollright", "rotate",     "slide",    "snow",      "sparkle",
    "spray",   "starburst", "switch",    "twinkle",    "wipedown", "wipeup",    "wipein",
    "wipeout", "wipeleft",  "wiperight", "cyclecolor", "clock",    "hold+roll", "roll+hold",
};

constexpr const char *kAlignments[] = { "Left", "Right", "Center" };
constexpr const char *kSpeeds[] = { "Fastest", "Faster", "Normal", "Slow", "Slower" };
constexpr const char *kPauses[] = { "0", "1", "2", "3", "4", "5", "6", "7", "8", "9" };
constexpr const char *kBeeps[] = { "OFF", "Normal", "Fast" };

constexpr const char *kVx903Fonts[] = {
    "----", "----", "----", "----",  "----", "----", "Normal", "Fat",  "----",
    "----", "----", "----", "----",  "----", "----", "----",   "----", "----",
    "----", "Tall", "----", "Large", "----", "----", "----",
};

constexpr const char *kVx903Colors[] = {
    "---", "---", "---", "Red", "Green", "---", "---", "---", "Orange", "---", "---", "---", "---",
};

constexpr const char *kVx903Effects[] = {
    "Auto Function",
    "Flash 5 Times",
    "Appear",
    "Cover -> <-",
    "Scroll out Downward",
    "Scroll out Upward",
    "Close -> <-",
    "Close <- ->",
    "Shift LEFT",
    "Shift Right",
    "Reform from left / right",
    "Cover DOWN",
    "Boarder",
    "Combine",
    "Split OUT",
    "Fold out",
    "Search",
    "Cover DOWN", // twice on purpose: codes 11 and 17
    "Cover UP",
    "Cover FROM EDGES",
    "Cover FROM CENTER",
    "Cover LEFT",
    "Cover RIGHT",
};

constexpr const char *kVx903DefaultMessageFonts[] = { "Normal", "Fat", "Tall", "Large" };

constexpr std::array<Rgb, 13> kDisplayColors = { {
    { 118, 129, 97 },
    { 255, 0, 0 },
    { 0, 255, 0 },
    { 128, 0, 0 },
    { 0, 128, 0 },
    { 240, 240, 0 },
    { 85, 43, 0 },
    { 200, 200, 0 },
    { 255, 138, 21 },
    { 128, 128, 128 },
    { 128, 128, 128 },
    { 128, 128, 128 },
    { 0, 0, 0 },
} };

constexpr std::array<TimeFormat, kTimeFormatCount> kTimeFormats = { {
    { "hh:mm:ss", false, "<hh:mm:ss>", "$T0" },
    { "hh:mm:ss A/PM", false, "<hh:mm:ss A/PM>", "$T1" },
    { "hh:mm", false, "<hh:mm>", "$T2" },
    { "hh:mm A/PM", false, "<hh:mm A/PM>", "$T3" },
    { "mm/dd/yyyy", true, "<mm/dd/yyyy>", "$T4" },
    { "yyyy-mm-dd", true, "<yyyy-mm-dd>", "$T5" },
    { "dd.MM yyyy", true, "<dd.MM yyyy>", "$T6" },
    { "mm'dd'yy", true, "<mm'dd'yy>", "$T7" },
} };

QStringList numbered(const char *prefix, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QString::fromLatin1(prefix) + QString::number(i);
    return list;
}

} // namespace

Table standardVocabulary(Attribute attribute)
{
    switch (attribute) {
    case Attribute::Font:
        return kFonts;
    case Attribute::Color:
        return kColors;
    case Attribute::Style:
        return kEffects;
    case Attribute::Alignment:
        return kAlignments;
    case Attribute::Speed:
        return kSpeeds;
    case Attribute::Pause:
        return kPauses;
    case Attribute::Beep:
        return kBeeps;
    }
    return {};
}

Table vx903Vocabulary(Attribute attribute)
{
    switch (attribute) {
    case Attribute::Font:
        return kVx903Fonts;
    case Attribute::Color:
        return kVx903Colors;
    case Attribute::Style:
        return kVx903Effects;
    default:
        return standardVocabulary(attribute);
    }
}

Table vx903DefaultMessageFonts()
{
    return kVx903DefaultMessageFonts;
}

QStringList toStringList(Table table)
{
    QStringList list;
    list.reserve(qsizetype(table.size()));
    for (const char *text : table)
        list << QString::fromLatin1(text);
    return list;
}

const std::array<Rgb, 13> &displayColors()
{
    return kDisplayColors;
}

QString portEntry(int index)
{
    return QStringLiteral("COM ") + QString::number(index + 1);
}

QStringList portEntries()
{
    QStringList list;
    for (int i = 0; i < kPortCount; ++i)
        list << portEntry(i);
    return list;
}

QStringList priorityEntries()
{
    return numbered("Priority ", kPriorityCount);
}

QString linkLabel(int id)
{
    return QStringLiteral("ID   ") + QString::number(id);
}

QStringList messageIdEntries()
{
    return numbered("", 8);
}

const std::array<TimeFormat, kTimeFormatCount> &timeFormats()
{
    return kTimeFormats;
}

QStringList timeFormatEntries(int count)
{
    QStringList list;
    for (int i = 0; i < count && i < kTimeFormatCount; ++i)
        list << QString::fromLatin1(kTimeFormats[size_t(i)].text);
    return list;
}

int selectByCode(int current, int code, int count)
{
    if (code == -1)
        return -1;
    if (code < -1 || code >= count)
        return current;
    return code;
}

} // namespace tavrin::vocab
