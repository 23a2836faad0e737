#include "LEDTestMessage.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tavrin::ui {

LEDTestMessage::LEDTestMessage(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("LEDTestMessage"));
    setWindowTitle(QStringLiteral("Send Test Message"));
    auto *note = new QLabel(
        QStringLiteral("The test message composer is not available in this version yet."), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

} // namespace tavrin::ui
