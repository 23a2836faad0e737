#pragma once

#include "FileDownload.h"
#include "UpdateCheck.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tavrin::ui {

// Offers the newer version the update check found and, on "Yes", downloads it to the
// desktop with its progress.
class UpdateDialog : public QDialog
{
    Q_OBJECT

public:
    explicit UpdateDialog(const update::UpdateOffer &offer, QWidget *parent = nullptr);
    ~UpdateDialog() override;

    // Downloads FiletoDownload to FiletoSave; the outcome shows in NewVersionMsg.
    void CopyURLToFile(const QUrl &FiletoDownload, const QString &FiletoSave);

    const QUrl &URL() const { return m_url; }
    const QString &FileName() const { return m_fileName; }
    const QString &DesktopFolder() const { return m_desktopFolder; }
    update::FileDownload &transfer() { return m_transfer; }

protected:
    // The close box, Esc and "No" all stop a running transfer, leaving the desktop as it was.
    void reject() override;

private:
    void download();
    void exit();
    void transferFinished(const QString &error);
    void showProgress(int percent);
    static QString getDesktopFolder();

    update::UpdateOffer m_offer;
    QUrl m_url;
    QString m_fileName;
    QString m_desktopFolder;
    update::FileDownload m_transfer;

    QLabel *m_message = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_download = nullptr;
    QPushButton *m_dontDownload = nullptr;
    QPushButton *m_exitDownload = nullptr;
};

} // namespace tavrin::ui
