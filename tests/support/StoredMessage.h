#pragma once

#include "DefaultMessageProtocol.h"

// A default message as the main window keeps it, codes in the order of the window's lists.
inline tavrin::protocol::DefaultMessage storedMessage(const QString &text, qint16 font,
                                                      qint16 color, qint16 style, qint16 alignment,
                                                      qint16 speed, qint16 pause)
{
    tavrin::protocol::Attributes a { .font = font, .style = style, .color = color };
    a.speed = speed;
    a.alignment = alignment;
    a.pause = pause;
    return { text, a };
}
