#include "TavrinDefaultMessage.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tavrin::ui {

TavrinDefaultMessage::TavrinDefaultMessage(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TavrinDefaultMessage"));
    setWindowTitle(QStringLiteral("Setup Default Message"));
    auto *note = new QLabel(
        QStringLiteral("The default message editor is not available in this version yet."), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

} // namespace tavrin::ui
