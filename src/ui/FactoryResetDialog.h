#pragma once

#include <QDialog>

namespace tavrin::core {
class MainController;
}

namespace tavrin::ui {

// Asks before the sign is reset to its factory defaults; "Yes" sends the reset through the
// main window's port and the main window reads the sign again.
class FactoryResetDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FactoryResetDialog(core::MainController &controller, QWidget *parent = nullptr);

private:
    void confirm();

    core::MainController &m_controller;
};

} // namespace tavrin::ui
