#pragma once

#include "LinkTransport.h"
#include "NetworkLine.h"
#include "PortAddress.h"

#include <memory>

namespace tavrin::link {

// A port on a serial device server ("socket://" or "rfc2217://"). The connection itself is
// the network module's, loaded when the first such port opens; a module that cannot be loaded
// fails the open like a port that is not there, with the reason.
class NetworkTransport : public LinkTransport
{
    Q_OBJECT

public:
    explicit NetworkTransport(const PortAddress &address, QObject *parent = nullptr);
    ~NetworkTransport() override;

    OpenResult open() override;
    void close() override;
    bool isOpen() const override { return m_line && m_line->isOpen(); }
    bool write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    void poll() override;
    bool everConnected() const override { return !m_line || m_line->everConnected(); }
    bool isReady() const override { return m_line && m_line->isReady(); }

private:
    const PortAddress m_address;
    std::unique_ptr<NetworkLine> m_line;
};

} // namespace tavrin::link
