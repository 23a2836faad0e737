#include "FileDownload.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <functional>

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
    if (!m_session) {
        const auto *web = webModule().table<WebModuleTable>();
        if (!web) {
            emit finished(tr("The download cannot start: %1").arg(webModule().error()));
            return;
        }
        m_session.reset(web->makeSession());
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

    WebRequest request;
    request.address = address;
    request.maxRedirects = kMaxRedirects;
    request.stallTimeout = m_limits.stallTimeout;
    request.readBufferBytes = kReadBufferBytes;
    // The announced length must count the bytes we store, not a compressed form of them.
    request.identityEncoding = true;
    request.userAgent = QCoreApplication::applicationName();
    const WebFetch::Events events { std::bind_front(&FileDownload::takeIn, this),
                                    std::bind_front(&FileDownload::transferEnded, this) };
    m_fetch.reset(m_session->get(request, events));
    m_deadline.start(m_limits.transferTimeout);
    emit started();
    emit progressChanged(0);
}

void FileDownload::cancel()
{
    release();
}

void FileDownload::takeIn()
{
    if (m_fetch->httpStatus() >= 300) {
        m_fetch->readAll(); // an error page is not the file
        return;
    }
    m_length = m_fetch->announcedLength();
    const QByteArray data = m_fetch->readAll();
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

void FileDownload::transferEnded()
{
    if (m_fetch->bytesAvailable() > 0)
        takeIn();
    if (!m_fetch)
        return; // the last bytes could not be written and the failure is told

    const int status = m_fetch->httpStatus();
    if (const WebFetch::Failure failure = m_fetch->failure(); failure != WebFetch::Failure::None) {
        if (status >= 400)
            fail(tr("The server answered %1 %2.").arg(status).arg(m_fetch->reasonPhrase()));
        else if (failure == WebFetch::Failure::Stalled)
            fail(tr("The server stopped sending data."));
        else
            fail(tr("The download failed: %1").arg(m_fetch->errorText()));
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
    m_fetch.reset();
    if (m_file && m_file->isOpen())
        m_file->cancelWriting();
    m_file.reset(); // an uncommitted file takes its temporary copy with it
}

} // namespace tavrin::update
