#pragma once

#include <QNetworkAccessManager>
#include <QObject>
#include <QUrl>

#include <chrono>
#include <memory>

class QNetworkReply;
class QSaveFile;

namespace tavrin::update {

using namespace std::chrono_literals;

// Copies the file at an address to a local path while the event loop runs. The bytes go
// through a QSaveFile, so the path holds either its old content or the whole download,
// never a part of it.
class FileDownload : public QObject
{
    Q_OBJECT

public:
    static constexpr auto kStallTimeout = 30s; // without a byte, the transfer is given up
    static constexpr int kMaxRedirects = 3;

    explicit FileDownload(QObject *parent = nullptr);
    ~FileDownload() override; // a running transfer is cancelled

    // CopyURLToFile: starts the transfer; the outcome arrives with finished().
    void start(const QUrl &address, const QString &path);
    // Stops a running transfer, leaves the path as it was, and emits nothing more.
    void cancel();
    bool isRunning() const { return m_reply != nullptr; }

signals:
    // The request has been sent ("Downloading ").
    void started();
    // Percentage of the announced length received, or -1 when the server announced none.
    void progressChanged(int percent);
    // error is "" when the file was saved.
    void finished(const QString &error);

private:
    void onReadyRead();
    void onReplyFinished();
    void fail(const QString &error);
    void release();
    int httpStatus() const;

    QNetworkAccessManager m_network;
    QNetworkReply *m_reply = nullptr; // a child of m_network while running
    std::unique_ptr<QSaveFile> m_file;
    qint64 m_length = -1;
    qint64 m_received = 0;
};

} // namespace tavrin::update
