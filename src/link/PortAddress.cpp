#include "PortAddress.h"

#include <QUrl>

namespace tavrin::link {

QString PortAddress::endpoint() const
{
    const QString shownHost = host.contains(u':') ? u'[' + host + u']' : host;
    return shownHost + u':' + QString::number(port);
}

PortAddress PortAddress::parse(const QString &device)
{
    PortAddress address;
    address.device = device;
    const qsizetype scheme = device.indexOf(QLatin1String("://"));
    if (scheme < 0)
        return address; // a path
    const QString name = device.left(scheme).toLower();
    if (name == u"socket")
        address.kind = Kind::RawTcp;
    else if (name == u"rfc2217")
        address.kind = Kind::Rfc2217;
    else {
        address.kind = Kind::Invalid;
        address.problem = QStringLiteral("\"%1://\" is no port address this program knows "
                                         "(socket:// or rfc2217://)")
                              .arg(device.left(scheme));
        return address;
    }
    const QUrl url(device, QUrl::StrictMode);
    const int port = url.port();
    if (!url.isValid() || url.host().isEmpty() || port <= 0 || !url.path().isEmpty()
        || url.hasQuery() || url.hasFragment() || !url.userInfo().isEmpty()) {
        address.kind = Kind::Invalid;
        address.problem
            = QStringLiteral("%1 is no address of the form %2://HOST:PORT").arg(device, name);
        return address;
    }
    address.host = url.host();
    address.port = quint16(port);
    return address;
}

} // namespace tavrin::link
