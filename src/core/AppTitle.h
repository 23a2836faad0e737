#pragma once

#include <QString>

namespace tavrin::core {

// Title of message boxes that name none.
inline const QString kAppTitle = QStringLiteral("Tavrin 4.72");
// The main window's caption; the About window and the update check read the version in it.
inline const QString kMainCaption = QStringLiteral("Sign Configuration Manager ver 4.72");

} // namespace tavrin::core
