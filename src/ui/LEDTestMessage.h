#pragma once

#include "NotBuiltWindow.h"

namespace tavrin::ui {

// The test message composer; not built yet.
class LEDTestMessage : public NotBuiltWindow
{
    Q_OBJECT

public:
    explicit LEDTestMessage(QWidget *parent = nullptr)
        : NotBuiltWindow(QStringLiteral("LEDTestMessage"), QStringLiteral("Send Test Message"),
                         QStringLiteral("test message composer"), parent)
    {
    }
};

} // namespace tavrin::ui
