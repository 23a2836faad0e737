#pragma once

#include "NotBuiltWindow.h"

namespace tavrin::ui {

// The default message editor; not built yet.
class TavrinDefaultMessage : public NotBuiltWindow
{
    Q_OBJECT

public:
    explicit TavrinDefaultMessage(QWidget *parent = nullptr)
        : NotBuiltWindow(QStringLiteral("TavrinDefaultMessage"),
                         QStringLiteral("Setup Default Message"),
                         QStringLiteral("default message editor"), parent)
    {
    }
};

} // namespace tavrin::ui
