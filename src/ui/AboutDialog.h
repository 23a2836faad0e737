#pragma once

#include <QDialog>

namespace tavrin::ui {

// The About window: product, contact lines and the version from the main window's caption.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(const QString &mainCaption, QWidget *parent = nullptr);
};

} // namespace tavrin::ui
