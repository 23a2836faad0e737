#pragma once

#include "WebFetch.h"

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <memory>

#include <chrono>

namespace tavrin::update {

using namespace std::chrono_literals;

// What the download page offers: the values the new-version window works from.
struct UpdateOffer
{
    double version = 0.0; // WebVersion
    QString fileName; // WebFileName, as found on the page
    QUrl site; // WebSite
};

// Looks once per port search for a newer version on the download page. The page loads in
// the background from startLoading(); check() decides as soon as it is in, so neither the
// search nor the window ever waits for the network.
class UpdateCheck : public QObject
{
    Q_OBJECT

public:
    static constexpr auto kPageTimeout = 15s; // then the page counts as not found
    static constexpr qint64 kMaxPageBytes = 2 * 1024 * 1024;
    static constexpr int kMaxRedirects = 3;

    explicit UpdateCheck(QObject *parent = nullptr);
    ~UpdateCheck() override;

    // Starts loading the page at site without waiting; a load still running is dropped.
    void startLoading(const QUrl &site);
    // checkForUpdate and offerNewVersion: compares the page's version with the one in
    // caption when the page is in, or at once when no page is loading.
    void check(const QString &caption);
    // A check has been asked for and waits for the page.
    bool isWaiting() const { return m_checkPending; }

    // The values of the last page that named the program.
    const QString &webFileName() const { return m_webFileName; }
    double webVersion() const { return m_webVersion; }
    const QUrl &webSite() const { return m_webSite; }

    void setPageTimeout(std::chrono::milliseconds timeout) { m_deadline.setInterval(timeout); }

signals:
    void newVersionOffered(const tavrin::update::UpdateOffer &offer);
    // The check has decided, whether or not it offered anything.
    void checkFinished();

private:
    void takeIn();
    void pageLoaded();
    void dropReply();
    void pageDone(const QByteArray &page);
    void decide();

    // Made on the first load: the window comes up without the network stack.
    std::unique_ptr<WebSession> m_session;
    std::unique_ptr<WebFetch> m_fetch; // while the page loads
    QByteArray m_page;
    QTimer m_deadline;
    bool m_checkPending = false;
    QString m_caption;

    QString m_webFileName;
    double m_webVersion = 0.0;
    QUrl m_webSite;
};

} // namespace tavrin::update
