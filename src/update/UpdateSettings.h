#pragma once

#include <QUrl>

namespace tavrin::update {

// The download page: the environment's TAVRIN_UPDATE_SITE, else the address built in.
QUrl updateSite();

// Whether the port search at start-up also looks for a newer version; kept per user with
// QSettings, on unless the user turned it off.
bool checkAtStartup();
void setCheckAtStartup(bool on);

} // namespace tavrin::update
