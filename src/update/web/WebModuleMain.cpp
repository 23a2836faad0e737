// The web module's entry point: HTTP GETs through Qt Network, and the HTML parser.
#include "HtmlPage.h"
#include "WebFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <memory>

namespace tavrin::update::web {

namespace {

class NetworkFetch : public WebFetch
{
public:
    NetworkFetch(QNetworkReply *reply, Events events)
        : m_reply(reply)
    {
        QObject::connect(m_reply, &QNetworkReply::readyRead, m_reply, std::move(events.readyRead));
        QObject::connect(m_reply, &QNetworkReply::finished, m_reply, std::move(events.finished));
    }

    ~NetworkFetch() override
    {
        // It may go from inside one of its own events: the reply goes once they are over.
        m_reply->disconnect();
        if (!m_reply->isFinished())
            m_reply->abort();
        m_reply->deleteLater();
    }

    qint64 bytesAvailable() const override { return m_reply->bytesAvailable(); }
    QByteArray readAll() override { return m_reply->readAll(); }
    int httpStatus() const override
    {
        return m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }
    QString reasonPhrase() const override
    {
        return m_reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    }
    qint64 announcedLength() const override
    {
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        return length.isValid() ? length.toLongLong() : -1;
    }
    Failure failure() const override
    {
        switch (m_reply->error()) {
        case QNetworkReply::NoError:
            return Failure::None;
        case QNetworkReply::OperationCanceledError: // the transfer timeout, as we never cancel
            return Failure::Stalled;
        default:
            return Failure::Other;
        }
    }
    QString errorText() const override { return m_reply->errorString(); }

private:
    QNetworkReply *m_reply; // a child of the session's manager
};

class NetworkSession : public WebSession
{
public:
    WebFetch *get(const WebRequest &request, WebFetch::Events events) override
    {
        QNetworkRequest get(request.address);
        get.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
        get.setMaximumRedirectsAllowed(request.maxRedirects);
        if (request.stallTimeout.count() > 0)
            get.setTransferTimeout(int(request.stallTimeout.count()));
        if (request.identityEncoding)
            get.setRawHeader("Accept-Encoding", "identity");
        if (!request.userAgent.isEmpty())
            get.setHeader(QNetworkRequest::UserAgentHeader, request.userAgent);
        QNetworkReply *reply = m_network.get(get);
        if (request.readBufferBytes > 0)
            reply->setReadBufferSize(request.readBufferBytes);
        return new NetworkFetch(reply, std::move(events));
    }

private:
    QNetworkAccessManager m_network;
};

WebSession *makeSession()
{
    return new NetworkSession;
}

} // namespace

} // namespace tavrin::update::web

extern "C" Q_DECL_EXPORT const void *tavrinWebModule()
{
    using namespace tavrin::update;
    static const WebModuleTable table { {}, &web::makeSession, &parseHtmlPage };
    return &table;
}
