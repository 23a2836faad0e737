#include "FileDownload.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace tavrin::update {

namespace {

// A short write on a full disk leaves Qt's text at "Unknown error"; the system's reason is in
// errno, which the caller cleared before the write.
QString failureReason(const QFileDevice &file)
{
    const int error = errno;
    return error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString();
}

} // namespace

FileDownload::FileDownload(QObject *parent)
    : QObject(parent)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        fail(tr("The download did not finish within %1 minutes.")
                 .arg(QLocale().toString(double(m_limits.transferTimeout.count()) / 60000.0)));
    });
}

FileDownload::~FileDownload()
{
    release();
}

void FileDownload::start(const QUrl &address, const QString &path)
{
    release();
    if (address.isEmpty() || path.isEmpty()) {
        emit finished(tr("Nothing to download: the address or the file name is empty."));
        return;
    }
    m_file = std::make_unique<QSaveFile>(path);
    if (!m_file->open(QIODevice::WriteOnly)) {
        fail(tr("%1 cannot be written: %2")
                 .arg(QDir::toNativeSeparators(path), m_file->errorString()));
        return;
    }
    m_length = -1;
    m_received = 0;
    m_isZip = path.endsWith(QStringLiteral(".zip"), Qt::CaseInsensitive);
    m_tail.clear();

    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setTransferTimeout(int(m_limits.stallTimeout.count()));
    // The announced length must count the bytes we store, not a compressed form of them.
    request.setRawHeader("Accept-Encoding", "identity");
    const QString agent = QCoreApplication::applicationName();
    if (!agent.isEmpty())
        request.setHeader(QNetworkRequest::UserAgentHeader, agent);
    m_reply = m_network.get(request);
    m_reply->setReadBufferSize(kReadBufferBytes);
    m_deadline.start(m_limits.transferTimeout);
    connect(m_reply, &QNetworkReply::readyRead, this, &FileDownload::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &FileDownload::onReplyFinished);
    emit started();
    emit progressChanged(0);
}

void FileDownload::cancel()
{
    release();
}

int FileDownload::httpStatus() const
{
    return m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

void FileDownload::onReadyRead()
{
    if (httpStatus() >= 300) {
        m_reply->readAll(); // an error page is not the file
        return;
    }
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    m_length = length.isValid() ? length.toLongLong() : -1;
    const QByteArray data = m_reply->readAll();
    if (qMax(m_length, m_received + data.size()) > m_limits.maxBytes) {
        fail(tr("The file is larger than %1, the most a download may have.")
                 .arg(QLocale().formattedDataSize(m_limits.maxBytes)));
        return;
    }
    errno = 0;
    if (m_file->write(data) != data.size()) {
        fail(tr("%1 could not be written: %2")
                 .arg(QDir::toNativeSeparators(m_file->fileName()), failureReason(*m_file)));
        return;
    }
    m_received += data.size();
    if (m_isZip)
        m_tail.append(data);
    emit progressChanged(m_length > 0 ? int(qMin<qint64>(
                             100, qRound64(100.0 * double(m_received) / double(m_length))))
                                      : -1);
}

void FileDownload::onReplyFinished()
{
    if (m_reply->bytesAvailable() > 0)
        onReadyRead();
    if (!m_reply)
        return; // the last bytes could not be written and the failure is told

    const int status = httpStatus();
    if (m_reply->error() != QNetworkReply::NoError) {
        if (status >= 400) {
            fail(
                tr("The server answered %1 %2.")
                    .arg(status)
                    .arg(
                        m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()));
        } else if (m_reply->error() == QNetworkReply::OperationCanceledError) {
            fail(tr("The server stopped sending data."));
        } else {
            fail(tr("The download failed: %1").arg(m_reply->errorString()));
        }
        return;
    }
    if (m_length >= 0 && m_received != m_length) {
        fail(tr("The connection broke after %1 of %2 bytes.").arg(m_received).arg(m_length));
        return;
    }
    if (const QString refusal = refuseEnd(); !refusal.isEmpty()) {
        fail(refusal);
        return;
    }
    errno = 0;
    if (!m_file->flush() || !m_file->commit()) {
        fail(tr("%1 could not be saved: %2")
                 .arg(QDir::toNativeSeparators(m_file->fileName()), failureReason(*m_file)));
        return;
    }
    release();
    emit progressChanged(100);
    emit finished(QString());
}

// Without a length, the end of the connection may be a cut: only a zip archive's own end
// record tells. Qt does not reliably report a chunked response cut before its last chunk.
QString FileDownload::refuseEnd() const
{
    if (m_isZip && !m_tail.endsWithDirectory())
        return tr("The download is incomplete: the end of the zip archive is missing.");
    if (!m_isZip && m_length < 0)
        return tr("The server announced no length, so a cut-off download could not be told "
                  "from a whole one.");
    return {};
}

void FileDownload::fail(const QString &error)
{
    release();
    emit finished(error);
}

void FileDownload::release()
{
    m_deadline.stop();
    if (m_reply) {
        QNetworkReply *reply = m_reply;
        m_reply = nullptr;
        reply->disconnect(this);
        reply->abort();
        reply->deleteLater();
    }
    if (m_file && m_file->isOpen())
        m_file->cancelWriting();
    m_file.reset(); // an uncommitted file takes its temporary copy with it
}

} // namespace tavrin::update
