#pragma once

#include "TavrinVersion.h"

#include <QString>

namespace tavrin::core {

// Title of message boxes that name none.
inline const QString kAppTitle = QStringLiteral("Tavrin " TAVRIN_VERSION_STRING);
// The main window's caption; the About window and the update check read the version in it.
inline const QString kMainCaption
    = QStringLiteral("Sign Configuration Manager ver " TAVRIN_VERSION_STRING);

} // namespace tavrin::core
