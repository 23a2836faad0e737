#pragma once

#include <QString>

namespace tavrin::update {

inline const QString kFirmwareToolName = QStringLiteral("burnrom_p.exe");

// Starts the sign maker's firmware tool from folder as a process of its own and returns
// without waiting. Returns "" when it started, else what went wrong and where the tool
// was looked for.
QString launchFirmwareTool(const QString &folder);

} // namespace tavrin::update
