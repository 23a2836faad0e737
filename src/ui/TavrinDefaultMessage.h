#pragma once

#include <QDialog>

namespace tavrin::ui {

// The default message editor. Not built yet: the window opens with its caption and says so.
class TavrinDefaultMessage : public QDialog
{
    Q_OBJECT

public:
    explicit TavrinDefaultMessage(QWidget *parent = nullptr);
};

} // namespace tavrin::ui
