#include "FactoryResetDialog.h"

#include "MainController.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin::ui {

FactoryResetDialog::FactoryResetDialog(core::MainController &controller, QWidget *parent)
    : QDialog(parent)
    , m_controller(controller)
{
    setObjectName(QStringLiteral("Warning"));
    setWindowTitle(QStringLiteral("Setup Factory Defaults"));

    auto *text = new QLabel(QStringLiteral("Loading Factory Defaults will delete all the settings "
                                           "currently stored. Do you wish to continue ?"),
                            this);
    text->setObjectName(QStringLiteral("Label1"));
    text->setWordWrap(true);

    auto *yes = new QPushButton(QStringLiteral("Yes"), this);
    yes->setObjectName(QStringLiteral("Yes"));
    auto *no = new QPushButton(QStringLiteral("No"), this);
    no->setObjectName(QStringLiteral("No"));
    no->setDefault(true); // the safe answer is the one Enter gives

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    setFixedWidth(360);

    connect(yes, &QPushButton::clicked, this, &FactoryResetDialog::confirm);
    connect(no, &QPushButton::clicked, this, &QDialog::reject);
}

void FactoryResetDialog::confirm()
{
    m_controller.sendFactoryDefaults();
    accept();
}

} // namespace tavrin::ui
