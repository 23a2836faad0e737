#pragma once

#include <QRect>
#include <QWidget>

namespace tavrin::ui {

// Window designs are laid out in twips; 15 twips make one device-independent pixel
// (1440 twips = 96 px), and Qt's own DPI scaling takes it from there.
inline constexpr int kTwipsPerPixel = 15;

constexpr int px(int twips)
{
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// The message windows' list widths were drawn for a narrower dialog font than today's
// defaults; their attribute columns widen by 1.4 about the left margin, keeping their
// relations (the VX903 layout moves with them), so that every entry is readable.
inline constexpr int kMessageMargin = 660;
constexpr int hx(int left)
{
    return kMessageMargin + (left - kMessageMargin) * 14 / 10;
}
constexpr int hw(int width)
{
    return width * 14 / 10;
}

// A control's place in a window design.
struct TwipsRect
{
    int left;
    int top;
    int width;
    int height;
};

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

inline void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(twipsRect(left, top, width, height));
}

inline void place(QWidget *w, const TwipsRect &r)
{
    place(w, r.left, r.top, r.width, r.height);
}

} // namespace tavrin::ui
