#pragma once

#include "Vocabulary.h"

#include <array>

// The attribute lists of the two message windows, in design twips before hx() and hw() widen
// them, and where the VX903 moves them: its fonts are narrower and its effect names longer.
namespace tavrin::ui::messagelayout {

struct Span
{
    int left;
    int width;
};

struct ListColumn
{
    vocab::Attribute attribute;
    const char *name; // the list's object name
    const char *heading;
    const char *headingName;
    Span standard;
    Span vx903;
    int headingLeft = 0; // of the standard list's heading when it does not start with the list
};

// The list's and its heading's places for the model.
inline Span listSpan(const ListColumn &column, bool vx903)
{
    return vx903 ? column.vx903 : column.standard;
}
inline Span headingSpan(const ListColumn &column, bool vx903)
{
    if (vx903 || column.headingLeft == 0)
        return listSpan(column, vx903);
    return { column.headingLeft, column.standard.width };
}

using vocab::Attribute;

// Send Test Message, in the design's order (which tabbing follows): the style list stands
// left of the colour list.
// clang-format off
inline constexpr std::array<ListColumn, vocab::kAttributes.size()> kTestMessageColumns = { {
    { Attribute::Font, "fontList", "Font", "Label2", { 660, 2640 }, { 660, 1500 } },
    { Attribute::Color, "ColorList", "Color", "Label4", { 4710, 990 }, { 4710, 990 } },
    { Attribute::Style, "StyleList", "Style", "Label5", { 3435, 1155 }, { 2500, 2000 } },
    { Attribute::Alignment, "AlignmentList", "Alignment", "Label3", { 5820, 840 }, { 5820, 840 } },
    { Attribute::Speed, "SpeedList", "Speed", "Label6", { 6780, 840 }, { 6780, 840 } },
    { Attribute::Pause, "PauseList", "Pause", "Label7", { 7740, 480 }, { 7740, 480 } },
    { Attribute::Beep, "BeepList", "Beep", "Label9", { 8340, 840 }, { 8340, 840 } },
} };

// Setup Default Message has no beep list.
inline constexpr std::array<ListColumn, 6> kDefaultMessageColumns = { {
    { Attribute::Font, "fontList", "Font", "Label2", { 660, 2640 }, { 660, 1500 } },
    { Attribute::Color, "ColorList", "Color", "Label4", { 3540, 990 }, { 2400, 990 }, 3555 },
    { Attribute::Style, "StyleList", "Style", "Label5", { 4800, 1155 }, { 3660, 2000 } },
    { Attribute::Alignment, "AlignmentList", "Alignment", "Label3", { 6075, 840 }, { 6075, 840 } },
    { Attribute::Speed, "SpeedList", "Speed", "Label6", { 7035, 840 }, { 7035, 840 } },
    { Attribute::Pause, "PauseList", "Pause", "Label7", { 7995, 480 }, { 7995, 480 } },
} };
// clang-format on

} // namespace tavrin::ui::messagelayout
