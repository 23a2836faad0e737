#pragma once

#include <QDialog>

namespace tavrin::ui {

// The test message composer. Not built yet: the window opens with its caption and says so.
class LEDTestMessage : public QDialog
{
    Q_OBJECT

public:
    explicit LEDTestMessage(QWidget *parent = nullptr);
};

} // namespace tavrin::ui
