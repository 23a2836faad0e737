#include "NotBuiltWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tavrin::ui {

NotBuiltWindow::NotBuiltWindow(const QString &name, const QString &caption, const QString &what,
                               QWidget *parent)
    : QDialog(parent)
{
    setObjectName(name);
    setWindowTitle(caption);
    auto *note = new QLabel(QStringLiteral("The ") + what
                                + QStringLiteral(" is not available in this version yet."),
                            this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

} // namespace tavrin::ui
