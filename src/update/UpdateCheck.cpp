#include "UpdateCheck.h"

#include "PageText.h"
#include "WebVersion.h"

#include <QNetworkReply>
#include <QNetworkRequest>

#include <utility>

namespace tavrin::update {

namespace {

const QString kSoughtText = QStringLiteral("tavrin");

bool isWebAddress(const QUrl &url)
{
    return url.isValid()
        && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

} // namespace

UpdateCheck::UpdateCheck(QObject *parent)
    : QObject(parent)
{
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(kPageTimeout);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        dropReply();
        pageDone({});
    });
}

UpdateCheck::~UpdateCheck()
{
    dropReply();
}

void UpdateCheck::startLoading(const QUrl &site)
{
    dropReply();
    m_webSite = site;
    if (!isWebAddress(site))
        return;

    QNetworkRequest request(site);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    if (!m_network)
        m_network = std::make_unique<QNetworkAccessManager>();
    m_reply = m_network->get(request);
    connect(m_reply, &QNetworkReply::readyRead, this, &UpdateCheck::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &UpdateCheck::onReplyFinished);
    m_deadline.start();
}

void UpdateCheck::check(const QString &caption)
{
    m_caption = caption;
    m_checkPending = true;
    if (!m_reply)
        decide();
}

void UpdateCheck::onReadyRead()
{
    const qint64 announced = m_reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    m_page += m_reply->readAll();
    if (announced > kMaxPageBytes || m_page.size() > kMaxPageBytes) {
        dropReply(); // no download page is this big: count it as not found
        pageDone({});
    }
}

void UpdateCheck::onReplyFinished()
{
    if (m_reply->bytesAvailable() > 0)
        onReadyRead();
    if (!m_reply)
        return; // dropped as too large
    QNetworkReply *reply = std::exchange(m_reply, nullptr);
    m_deadline.stop();
    reply->disconnect(this);
    reply->deleteLater();

    // An error page says nothing about what is published, even when it names the program.
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool ok = reply->error() == QNetworkReply::NoError && status >= 200 && status < 300;
    const QByteArray page = std::exchange(m_page, {});
    pageDone(ok ? page : QByteArray());
}

void UpdateCheck::dropReply()
{
    m_deadline.stop();
    m_page.clear();
    if (!m_reply)
        return;
    QNetworkReply *reply = std::exchange(m_reply, nullptr);
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

void UpdateCheck::pageDone(const QByteArray &page)
{
    const QString found = PageText::parse(page).findPageText(kSoughtText);
    if (!found.isEmpty()) {
        m_webVersion = parseWebVersion(found);
        m_webFileName = found;
    }
    if (m_checkPending)
        decide();
}

void UpdateCheck::decide()
{
    m_checkPending = false;
    if (captionVersion(m_caption) < m_webVersion)
        emit newVersionOffered(UpdateOffer { m_webVersion, m_webFileName, m_webSite });
    emit checkFinished();
}

} // namespace tavrin::update
