#pragma once

#include <QDialog>

namespace tavrin::ui {

// A window whose behaviour is not built yet: it opens with its caption and says so.
class NotBuiltWindow : public QDialog
{
    Q_OBJECT

public:
    NotBuiltWindow(const QString &name, const QString &caption, const QString &what,
                   QWidget *parent = nullptr);
};

} // namespace tavrin::ui
