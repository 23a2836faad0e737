#pragma once

#include "PageText.h"
#include "ProgramModule.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>

namespace tavrin::update {

// One HTTP GET. Redirects are followed only to places no less safe.
struct WebRequest
{
    QUrl address;
    int maxRedirects = 0;
    std::chrono::milliseconds stallTimeout { 0 }; // without a byte for this long it fails; 0: never
    qint64 readBufferBytes = 0; // what is held for us before reading stops; 0: no bound
    bool identityEncoding = false; // the announced length counts the bytes as stored
    QString userAgent;
};

// A GET running in the web module, which holds Qt Network so that the window comes up
// without it. Destroying it stops the transfer; no event comes after that.
class WebFetch
{
public:
    struct Events
    {
        std::function<void()> readyRead;
        std::function<void()> finished;
    };
    enum class Failure { None, Stalled, Other };

    virtual ~WebFetch() = default;

    virtual qint64 bytesAvailable() const = 0;
    virtual QByteArray readAll() = 0;
    virtual int httpStatus() const = 0; // 0 until the server answers
    virtual QString reasonPhrase() const = 0;
    virtual qint64 announcedLength() const = 0; // -1 when the server announced none
    virtual Failure failure() const = 0;
    virtual QString errorText() const = 0;
};

// The connections and settings several GETs share; destroying it stops what it runs.
class WebSession
{
public:
    virtual ~WebSession() = default;
    virtual WebFetch *get(const WebRequest &request, WebFetch::Events events) = 0;
};

// What the web module offers.
struct WebModuleTable
{
    modules::ModuleHeader header;
    WebSession *(*makeSession)();
    PageText (*parsePage)(const QByteArray &html);
};

inline constexpr char kWebModuleName[] = "tavrin_update_web";
inline constexpr char kWebModuleEntry[] = "tavrinWebModule";

// The web module, loaded on first use.
modules::ProgramModule &webModule();

} // namespace tavrin::update
