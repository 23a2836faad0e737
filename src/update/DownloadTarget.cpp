#include "DownloadTarget.h"

#include <QStandardPaths>

namespace tavrin::update {

QString refuseWebFileName(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("The download page names no file.");
    if (name.size() > kMaxWebFileNameLength)
        return QStringLiteral("The file name is too long.");
    if (name.contains(u'/') || name.contains(u'\\'))
        return QStringLiteral("The file name contains a folder separator.");
    if (name.contains(QStringLiteral("..")))
        return QStringLiteral("The file name contains \"..\".");
    if (name.startsWith(u'.'))
        return QStringLiteral("The file name starts with a dot.");
    for (QChar c : name) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return QStringLiteral("The file name contains control characters.");
        // A drive prefix ("C:") and the characters Windows keeps out of file names.
        if (QStringView(u":*?\"<>|").contains(c))
            return QStringLiteral("The file name contains the character %1.").arg(c);
    }
    return {};
}

QString desktopFolder()
{
    const QString fromEnvironment = qEnvironmentVariable("TAVRIN_DESKTOP");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

QUrl downloadAddress(const QUrl &site, const QString &fileName)
{
    QUrl address = site;
    address.setPath(site.path(QUrl::FullyDecoded) + u'/' + fileName, QUrl::DecodedMode);
    return address;
}

} // namespace tavrin::update
