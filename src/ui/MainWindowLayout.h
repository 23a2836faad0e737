#pragma once

#include "Twips.h"

#include "Vocabulary.h"

#include <array>

// The main window's design geometry in twips, and how the sign model and the lists' entries
// move it. The window code creates the controls and puts them where this says.
namespace tavrin::ui::mainlayout {

inline constexpr int kWidth = 11200; // the design's client width
inline constexpr int kFrame = 495; // between the window's outer height and its client area
inline constexpr int kRightMargin = 120;

// The header: the logo, the port list and, right of it, what the port list pushes along.
inline constexpr TwipsRect kLogo { 120, 120, 2160, 555 };
inline constexpr TwipsRect kPortLabel { 2520, 150, 600, 255 };
inline constexpr TwipsRect kPorts { 3120, 105, 1320, 330 }; // at its narrowest
inline constexpr int kPortsMaxWidth = 4500; // longer failure texts are read in the tool tip
// Model caption, model, build caption, build, test label, version check; design order.
inline constexpr std::array<TwipsRect, 6> kHeaderTail = { {
    { 4680, 150, 720, 255 },
    { 5400, 150, 1500, 255 },
    { 6960, 150, 900, 255 },
    { 7860, 150, 1200, 255 },
    { 9240, 150, 1740, 255 },
    { 4680, 420, 2000, 255 },
} };
inline constexpr size_t kHeaderTailRightmost = 4; // the test label ends the header's row

struct HeaderPlaces
{
    TwipsRect ports;
    std::array<TwipsRect, kHeaderTail.size()> tail;
    int neededWidth; // the window's client width that shows the header whole
};
// The port list as wide as its longest entry needs (portsContent, twips) within its bounds,
// and what sits right of it pushed along.
HeaderPlaces headerPlaces(int portsContent);

// The link table: a group box with a row per link.
inline constexpr TwipsRect kLinkTable { 120, 780, 6000, 3600 };
inline constexpr TwipsRect kLinkHeading { 120, 300, 800, 255 }; // inside the box
inline constexpr TwipsRect kCapcodeHeading { 1000, 300, 2800, 255 };
inline constexpr TwipsRect kPriorityHeading { 4200, 300, 1500, 255 };
// Row k of the box: its link label, capcode box and priority list.
TwipsRect linkLabelPlace(int link);
TwipsRect capcodePlace(int link);
TwipsRect linkPriorityPlace(int link);

// The command panel right of the link table.
inline constexpr TwipsRect kAutoId { 6360, 840, 4620, 300 };
inline constexpr TwipsRect kForceOnId0 { 6360, 1170, 4620, 300 };
inline constexpr TwipsRect kUserCommandLabel { 6360, 1560, 4620, 255 };
inline constexpr TwipsRect kUserCommand { 6360, 1830, 4620, 315 };
// The six sign-command buttons, two a row: column 0 or 1, row 0 to 2.
TwipsRect commandButtonPlace(int column, int row);
inline constexpr TwipsRect kProgress { 6360, 3840, 4620, 240 };
inline constexpr TwipsRect kStatus { 6360, 4140, 4620, 3 * 285 }; // three lines
inline constexpr TwipsRect kPriorityToggle { 120, 4470, 2600, 360 }; // Show and Hide alike

// The priority grid: a row per priority, a column per attribute and the timeout.
inline constexpr std::array kRowTops = { 5565, 6202, 6839, 7476, 8115 };
inline constexpr int kRowHeight = 315;
inline constexpr int kHeadingTop = 5280;
inline constexpr int kHeadingHeight = 255;
TwipsRect rowLabelPlace(int row);

struct Span
{
    int left;
    int width;
};
struct Column
{
    vocab::Attribute attribute;
    const char *name; // object name prefix, row digit appended
    const char *heading;
    Span standard; // the design's place
    Span vx903; // narrower fonts make room for the longer effect names, ending before colour
};
// Left to right as the grid shows them.
inline constexpr std::array<Column, vocab::kAttributes.size()> kColumns = { {
    { vocab::Attribute::Font, "FontP", "Font", { 1140, 2280 }, { 1140, 1500 } },
    { vocab::Attribute::Style, "StyleP", "Style", { 3510, 1250 }, { 2760, 2000 } },
    { vocab::Attribute::Color, "ColorP", "Color", { 4860, 1245 }, { 4860, 1245 } },
    { vocab::Attribute::Speed, "SpeedP", "Speed", { 6165, 885 }, { 6165, 885 } },
    { vocab::Attribute::Alignment, "AlignmentP", "Align", { 7140, 850 }, { 7140, 850 } },
    { vocab::Attribute::Pause, "PauseP", "Pause", { 8070, 570 }, { 8070, 570 } },
    { vocab::Attribute::Beep, "BeepP", "Beep", { 8745, 960 }, { 8745, 960 } },
} };
inline constexpr Span kTimeout { 9810, 1100 };
inline constexpr int kTimeoutHeadingWidth = 1320; // wider than its column, as the design's was
inline constexpr int kColumnGap = 90;

struct GridPlaces
{
    std::array<Span, vocab::kAttributes.size()> columns; // by vocab::Attribute
    int timeoutLeft;
    int neededWidth; // the window's client width that shows the grid whole
};
// Each column at its design place for the model, or pushed right by a wider one before it;
// a column is as wide as the longest entry of its lists needs (content, twips, by attribute).
GridPlaces gridPlaces(bool vx903, const std::array<int, vocab::kAttributes.size()> &content);

} // namespace tavrin::ui::mainlayout
