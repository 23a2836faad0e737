#pragma once

#include "DefaultMessageProtocol.h"

// A default message as the main window keeps it, codes in the order of the window's lists.
inline tavrin::protocol::DefaultMessage storedMessage(const QString &text, int font, int color,
                                                      int style, int alignment, int speed,
                                                      int pause)
{
    tavrin::protocol::Attributes a;
    a.font = qint16(font);
    a.color = qint16(color);
    a.style = qint16(style);
    a.alignment = qint16(alignment);
    a.speed = qint16(speed);
    a.pause = qint16(pause);
    return { text, a };
}
