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

inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

inline void place(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(twipsRect(left, top, width, height));
}

} // namespace tavrin::ui
