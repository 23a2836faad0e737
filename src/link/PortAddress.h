#pragma once

#include <QString>

namespace tavrin::link {

// Where a port's bytes go: a local device path, or a serial device server on the network
// addressed as "socket://HOST:PORT" (raw TCP) or "rfc2217://HOST:PORT" (Telnet with the
// com-port option, which also sets the remote line to 9600 8N1).
struct PortAddress
{
    enum class Kind { Local, RawTcp, Rfc2217, Invalid };

    Kind kind = Kind::Local;
    QString device; // as written
    QString host;
    quint16 port = 0;
    QString problem; // for an invalid address: what is wrong with it

    bool isNetwork() const { return kind == Kind::RawTcp || kind == Kind::Rfc2217; }
    // "host:port", with brackets around an IPv6 host.
    QString endpoint() const;

    static PortAddress parse(const QString &device);
};

} // namespace tavrin::link
