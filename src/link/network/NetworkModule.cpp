// The network module's entry point: device-server connections made from their addresses.
#include "NetworkLines.h"

namespace {

using namespace tavrin::link;

NetworkLine *makeLine(const PortAddress &address, NetworkLine::Events events)
{
    if (address.kind == PortAddress::Kind::Rfc2217)
        return new network::Rfc2217Line(address, std::move(events));
    return new network::TcpLine(address, std::move(events));
}

} // namespace

extern "C" Q_DECL_EXPORT const void *tavrinNetworkModule()
{
    static const NetworkModuleTable table { {}, &makeLine };
    return &table;
}
