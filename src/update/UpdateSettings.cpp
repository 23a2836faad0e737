#include "UpdateSettings.h"

#include <QSettings>

#ifndef TAVRIN_UPDATE_SITE_DEFAULT
#define TAVRIN_UPDATE_SITE_DEFAULT "https://tavrin.example.com/Downloads"
#endif

namespace tavrin::update {

namespace {

const QString kCheckAtStartupKey = QStringLiteral("Update/CheckAtStartup");

QSettings settings()
{
    return QSettings(QStringLiteral("Tavrin"), QStringLiteral("Tavrin"));
}

} // namespace

QUrl updateSite()
{
    const QString fromEnvironment = qEnvironmentVariable("TAVRIN_UPDATE_SITE");
    return QUrl(fromEnvironment.isEmpty() ? QStringLiteral(TAVRIN_UPDATE_SITE_DEFAULT)
                                          : fromEnvironment);
}

bool checkAtStartup()
{
    return settings().value(kCheckAtStartupKey, true).toBool();
}

void setCheckAtStartup(bool on)
{
    settings().setValue(kCheckAtStartupKey, on);
}

} // namespace tavrin::update
