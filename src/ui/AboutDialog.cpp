#include "AboutDialog.h"

#include "Controls.h"

#include "HelpText.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace tavrin::ui {

namespace {

QLabel *named(const QString &text, const char *name, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

} // namespace

AboutDialog::AboutDialog(const QString &mainCaption, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("LEDSignHelp"));
    setWindowTitle(QStringLiteral("About"));

    auto *logo = new QLabel(QStringLiteral("TAVRIN"), this);
    logo->setObjectName(QStringLiteral("Logo"));
    logo->setAlignment(Qt::AlignCenter);
    paintAsLogo(logo);
    logo->setMargin(8);

    const editors::ContactLines contact = editors::contactLines();
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("LED Sign Configuration Manager"),
                 named(contact.company, "Company", this));
    form->addRow(QStringLiteral("Email"), named(contact.email, "EmailAddress", this));
    form->addRow(QStringLiteral("Website"), named(contact.website, "WebAddress", this));

    auto *version = named(QStringLiteral("Version"), "SoftwareVersion", this);
    if (const auto text = editors::softwareVersionText(mainCaption))
        version->setText(*text);

    // A sample of coloured text, as the test-message composer shows it.
    auto *sample = new QTextEdit(this);
    sample->setObjectName(QStringLiteral("rtfbuffer"));
    sample->setReadOnly(true);
    sample->setFixedHeight(48);
    sample->setTextColor(QColor(255, 0, 0));
    sample->insertPlainText(QStringLiteral("Test message"));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(logo);
    layout->addLayout(form);
    layout->addWidget(version);
    layout->addWidget(sample);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setFixedWidth(420);
}

} // namespace tavrin::ui
