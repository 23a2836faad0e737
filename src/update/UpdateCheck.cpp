#include "UpdateCheck.h"

#include "PageText.h"
#include "WebVersion.h"

#include <functional>
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

    if (!m_session) {
        // Without the web module there is no page: the check finds nothing to offer.
        const auto *web = webModule().table<WebModuleTable>();
        if (!web)
            return;
        m_session.reset(web->makeSession());
    }
    WebRequest request;
    request.address = site;
    request.maxRedirects = kMaxRedirects;
    const WebFetch::Events events { std::bind_front(&UpdateCheck::takeIn, this),
                                    std::bind_front(&UpdateCheck::pageLoaded, this) };
    m_fetch.reset(m_session->get(request, events));
    m_deadline.start();
}

void UpdateCheck::check(const QString &caption)
{
    m_caption = caption;
    m_checkPending = true;
    if (!m_fetch)
        decide();
}

void UpdateCheck::takeIn()
{
    const qint64 announced = m_fetch->announcedLength();
    m_page += m_fetch->readAll();
    if (announced > kMaxPageBytes || m_page.size() > kMaxPageBytes) {
        dropReply(); // no download page is this big: count it as not found
        pageDone({});
    }
}

void UpdateCheck::pageLoaded()
{
    if (m_fetch->bytesAvailable() > 0)
        takeIn();
    if (!m_fetch)
        return; // dropped as too large
    const std::unique_ptr<WebFetch> fetch = std::move(m_fetch);
    m_deadline.stop();

    // An error page says nothing about what is published, even when it names the program.
    const int status = fetch->httpStatus();
    const bool ok = fetch->failure() == WebFetch::Failure::None && status >= 200 && status < 300;
    const QByteArray page = std::exchange(m_page, {});
    pageDone(ok ? page : QByteArray());
}

void UpdateCheck::dropReply()
{
    m_deadline.stop();
    m_page.clear();
    m_fetch.reset();
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
