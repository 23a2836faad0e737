#include "MainWindowLayout.h"

#include <algorithm>

namespace tavrin::ui::mainlayout {

namespace {

constexpr int kLinkRowTop = 600; // in the link table's box
constexpr int kLinkRowPitch = 370;

constexpr int kButtonTop = 2340;
constexpr int kButtonPitch = 480;
constexpr int kButtonHeight = 405;
constexpr int kButtonGap = 120;

int linkRowTop(int link)
{
    return kLinkRowTop + link * kLinkRowPitch;
}

} // namespace

HeaderPlaces headerPlaces(int portsContent)
{
    HeaderPlaces places {};
    places.ports = kPorts;
    places.ports.width = std::clamp(portsContent, kPorts.width, kPortsMaxWidth);
    const int shift = places.ports.width - kPorts.width;
    for (size_t i = 0; i < kHeaderTail.size(); ++i) {
        places.tail[i] = kHeaderTail[i];
        places.tail[i].left += shift;
    }
    const TwipsRect &last = places.tail[kHeaderTailRightmost];
    places.neededWidth = last.left + last.width + kRightMargin;
    return places;
}

TwipsRect linkLabelPlace(int link)
{
    return { 120, linkRowTop(link) + 30, 800, 255 };
}

TwipsRect capcodePlace(int link)
{
    return { 1000, linkRowTop(link), 3060, 315 };
}

TwipsRect linkPriorityPlace(int link)
{
    return { 4200, linkRowTop(link), 1560, 315 };
}

TwipsRect commandButtonPlace(int column, int row)
{
    const int width = (kUserCommand.width - kButtonGap) / 2;
    return { kUserCommand.left + column * (width + kButtonGap), kButtonTop + row * kButtonPitch,
             width, kButtonHeight };
}

TwipsRect rowLabelPlace(int row)
{
    return { 120, kRowTops[size_t(row)] + 30, 1000, 255 };
}

GridPlaces gridPlaces(bool vx903, const std::array<int, vocab::kAttributes.size()> &content)
{
    GridPlaces places {};
    int next = kColumns[0].standard.left;
    for (const Column &column : kColumns) {
        const Span design = vx903 ? column.vx903 : column.standard;
        const auto slot = size_t(column.attribute);
        const Span span { std::max(next, design.left), std::max(design.width, content[slot]) };
        places.columns[slot] = span;
        next = span.left + span.width + kColumnGap;
    }
    places.timeoutLeft = std::max(next, kTimeout.left);
    places.neededWidth = std::max(kWidth, places.timeoutLeft + kTimeoutHeadingWidth + kRightMargin);
    return places;
}

} // namespace tavrin::ui::mainlayout
