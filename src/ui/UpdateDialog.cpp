#include "UpdateDialog.h"

#include "DownloadTarget.h"
#include "WebVersion.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavrin::ui {

namespace {

QPushButton *button(const QString &text, const char *name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

UpdateDialog::UpdateDialog(const update::UpdateOffer &offer, QWidget *parent)
    : QDialog(parent)
    , m_offer(offer)
{
    setObjectName(QStringLiteral("LEDNewVersionDownload"));
    setWindowTitle(QStringLiteral("Download"));

    m_message = new QLabel(QStringLiteral("New Version is available"), this);
    m_message->setObjectName(QStringLiteral("NewVersionMsg"));
    m_message->setWordWrap(true);
    m_message->setMinimumHeight(m_message->fontMetrics().lineSpacing() * 4);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("PB1"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);

    m_download = button(QStringLiteral("Yes"), "Download", this);
    m_dontDownload = button(QStringLiteral("No"), "DontDownload", this);
    m_exitDownload = button(QStringLiteral("Exit"), "ExitDownload", this);
    m_exitDownload->hide();

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_download);
    buttons->addWidget(m_dontDownload);
    buttons->addWidget(m_exitDownload);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
    setFixedWidth(420);

    connect(m_download, &QPushButton::clicked, this, &UpdateDialog::download);
    connect(m_dontDownload, &QPushButton::clicked, this, &UpdateDialog::reject);
    connect(m_exitDownload, &QPushButton::clicked, this, &UpdateDialog::exit);
    connect(&m_transfer, &update::FileDownload::started, this, [this] {
        m_message->setText(QStringLiteral("Downloading ") + QDir::toNativeSeparators(m_fileName));
    });
    connect(&m_transfer, &update::FileDownload::progressChanged, this, &UpdateDialog::showProgress);
    connect(&m_transfer, &update::FileDownload::finished, this, &UpdateDialog::transferFinished);

    // The offer, and where its file would go.
    m_message->setText(
        QStringLiteral("Version ") + update::versionText(m_offer.version)
        + QStringLiteral(" is available for Download\r\nClick Yes to Download it now"));
    m_desktopFolder = getDesktopFolder();
}

UpdateDialog::~UpdateDialog() = default;

QString UpdateDialog::getDesktopFolder()
{
    return update::desktopFolder();
}

void UpdateDialog::download()
{
    const QString name = m_offer.fileName;
    if (const QString refusal = update::refuseWebFileName(name); !refusal.isEmpty()) {
        m_download->setEnabled(false); // the page's name will not change on a retry
        m_message->setText(QStringLiteral("The offered file cannot be saved on the Desktop.\r\n")
                           + refusal);
        return;
    }
    if (m_desktopFolder.isEmpty()) {
        m_message->setText(QStringLiteral("The Desktop folder could not be found, so nothing "
                                          "was downloaded."));
        return;
    }
    m_url = update::downloadAddress(m_offer.site, name);
    m_fileName = QDir(m_desktopFolder).filePath(name);
    CopyURLToFile(m_url, m_fileName);
}

void UpdateDialog::CopyURLToFile(const QUrl &FiletoDownload, const QString &FiletoSave)
{
    m_download->setEnabled(false);
    m_transfer.start(FiletoDownload, FiletoSave);
}

void UpdateDialog::showProgress(int percent)
{
    if (percent < 0) {
        m_progress->setRange(0, 0); // no length announced: show that work goes on
    } else {
        m_progress->setRange(0, 100);
        m_progress->setValue(percent);
    }
}

void UpdateDialog::transferFinished(const QString &error)
{
    if (m_progress->maximum() == 0)
        m_progress->setRange(0, 100);
    if (!error.isEmpty()) {
        m_progress->setValue(0);
        m_message->setText(error
                           + QStringLiteral("\r\nNothing was saved. Click Yes to try again."));
        m_download->setEnabled(true);
        return;
    }
    m_message->setText(QStringLiteral("Download Complete\r\n") + m_offer.fileName
                       + QStringLiteral(" is saved on Desktop\r\nPlease Unzip and Install it"));
    m_download->hide();
    m_dontDownload->hide();
    m_exitDownload->show();
    m_exitDownload->setDefault(true);
}

void UpdateDialog::exit()
{
    accept();
}

void UpdateDialog::reject()
{
    m_transfer.cancel();
    QDialog::reject();
}

} // namespace tavrin::ui
