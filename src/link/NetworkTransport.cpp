#include "NetworkTransport.h"

#include <functional>

namespace tavrin::link {

namespace {

modules::ProgramModule &networkModule()
{
    static modules::ProgramModule module(kNetworkModuleName, kNetworkModuleEntry);
    return module;
}

} // namespace

NetworkTransport::NetworkTransport(const PortAddress &address, QObject *parent)
    : LinkTransport(parent)
    , m_address(address)
{
}

NetworkTransport::~NetworkTransport() = default;

OpenResult NetworkTransport::open()
{
    if (!m_line) {
        const auto *table = networkModule().table<NetworkModuleTable>();
        if (!table)
            return { OpenError::Other, tr("no network support"), networkModule().error() };
        const NetworkLine::Events events { std::bind_front(&NetworkTransport::readyRead, this),
                                           std::bind_front(&NetworkTransport::lost, this) };
        m_line.reset(table->makeLine(m_address, events));
    }
    m_line->open();
    return {};
}

void NetworkTransport::close()
{
    if (m_line)
        m_line->close();
}

bool NetworkTransport::write(const QByteArray &bytes)
{
    return m_line && m_line->write(bytes);
}

QByteArray NetworkTransport::readAll()
{
    return m_line ? m_line->readAll() : QByteArray();
}

void NetworkTransport::poll()
{
    if (m_line)
        m_line->poll();
}

} // namespace tavrin::link
