#pragma once

#include "WebFetch.h"
#include "ZipTail.h"

#include <QObject>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <memory>

class QSaveFile;

namespace tavrin::update {

using namespace std::chrono_literals;

// How much a download may take; a server that sends without end is stopped by these.
struct DownloadLimits
{
    qint64 maxBytes = 256 * 1024 * 1024;
    std::chrono::milliseconds stallTimeout = 30s; // without a byte, the transfer is given up
    std::chrono::milliseconds transferTimeout = 30min; // the whole transfer
};

// Copies the file at an address to a local path while the event loop runs. The bytes go
// through a QSaveFile, so the path holds either its old content or the whole download,
// never a part of it. A download counts as whole only when its end can be told from a
// cut: by the announced length or, for a zip archive, by the archive's own end record.
class FileDownload : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxRedirects = 3;
    // Bounds what the network thread holds for us, and so each write to the disk.
    static constexpr qint64 kReadBufferBytes = 1024 * 1024;

    explicit FileDownload(QObject *parent = nullptr);
    ~FileDownload() override; // a running transfer is cancelled

    // CopyURLToFile: starts the transfer; the outcome arrives with finished().
    void start(const QUrl &address, const QString &path);
    // Stops a running transfer, leaves the path as it was, and emits nothing more.
    void cancel();
    bool isRunning() const { return m_fetch != nullptr; }

    void setLimits(const DownloadLimits &limits) { m_limits = limits; }

signals:
    // The request has been sent ("Downloading ").
    void started();
    // Percentage of the announced length received, or -1 when the server announced none.
    void progressChanged(int percent);
    // error is "" when the file was saved.
    void finished(const QString &error);

private:
    void takeIn();
    void transferEnded();
    QString refuseEnd() const;
    void fail(const QString &error);
    void release();

    DownloadLimits m_limits;
    std::unique_ptr<WebSession> m_session; // made on the first download
    std::unique_ptr<WebFetch> m_fetch; // while running
    std::unique_ptr<QSaveFile> m_file;
    QTimer m_deadline;
    bool m_isZip = false;
    ZipTail m_tail;
    qint64 m_length = -1;
    qint64 m_received = 0;
};

} // namespace tavrin::update
