#include "DownloadTarget.h"

#include <QFile>
#include <QStandardPaths>

namespace tavrin::update {

namespace {

qsizetype fileSystemLength(const QString &name)
{
#ifdef Q_OS_WIN
    return name.size();
#else
    return QFile::encodeName(name).size();
#endif
}

// Characters that would make the name lie about itself: controls, invisible format
// characters (direction overrides, zero-width joiners) and line or paragraph breaks.
bool isHiddenCharacter(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

} // namespace

QString refuseWebFileName(const QString &name)
{
    if (name.isEmpty())
        return QStringLiteral("The download page names no file.");
    if (fileSystemLength(name) > kMaxWebFileNameBytes)
        return QStringLiteral("The file name is too long.");
    if (name.contains(u'/') || name.contains(u'\\'))
        return QStringLiteral("The file name contains a folder separator.");
    if (name.contains(QStringLiteral("..")))
        return QStringLiteral("The file name contains \"..\".");
    if (name.startsWith(u'.'))
        return QStringLiteral("The file name starts with a dot.");
    if (!name.isValidUtf16())
        return QStringLiteral("The file name is not valid text.");
    for (char32_t c : name.toUcs4()) {
        if (isHiddenCharacter(c))
            return QStringLiteral("The file name contains control or invisible characters.");
        // A drive prefix ("C:") and the characters Windows keeps out of file names.
        if (c < 0x80 && QByteArrayView(":*?\"<>|").contains(char(c)))
            return QStringLiteral("The file name contains the character %1.").arg(QChar(c));
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
