#pragma once

#include "PortAddress.h"
#include "ProgramModule.h"

#include <QByteArray>
#include <QString>

#include <functional>

namespace tavrin::link {

// A connection to a serial device server, made by the network module, which holds Qt Network
// so that the programs start without it. What it has to tell comes through the callbacks it
// was made with.
class NetworkLine
{
public:
    struct Events
    {
        std::function<void()> readyRead;
        // The line is gone, closed already; told once, in our own words.
        std::function<void(const QString &reason)> lost;
    };

    virtual ~NetworkLine() = default;

    // Connects in the background; what goes wrong is told by Events::lost.
    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool write(const QByteArray &bytes) = 0;
    virtual QByteArray readAll() = 0;
    virtual void poll() = 0;
    virtual bool everConnected() const = 0; // the server reached and its line set up
    virtual bool isReady() const = 0;
};

// What the network module offers.
struct NetworkModuleTable
{
    modules::ModuleHeader header;
    NetworkLine *(*makeLine)(const PortAddress &address, NetworkLine::Events events);
};

inline constexpr char kNetworkModuleName[] = "tavrin_link_network";
inline constexpr char kNetworkModuleEntry[] = "tavrinNetworkModule";

} // namespace tavrin::link
