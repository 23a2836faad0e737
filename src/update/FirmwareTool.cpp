#include "FirmwareTool.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace tavrin::update {

QString launchFirmwareTool(const QString &folder)
{
    const QString program = QDir(folder).absoluteFilePath(kFirmwareToolName);
    const QString shown = QDir::toNativeSeparators(program);
    if (!QFileInfo(program).isFile())
        return QStringLiteral("The firmware tool was not found.\r\nIt was looked for at ") + shown;
    QProcess process;
    process.setProgram(program);
    process.setWorkingDirectory(QDir(folder).absolutePath());
    if (!process.startDetached())
        return QStringLiteral("The firmware tool ") + shown
            + QStringLiteral(" could not be started: ") + process.errorString();
    return {};
}

} // namespace tavrin::update
