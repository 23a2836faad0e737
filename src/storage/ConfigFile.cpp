#include "ConfigFile.h"

#include "ConfigFileWriter.h"

#include <QDir>

namespace tavrin::storage {

SaveResult saveConfiguration(const QString &path, const SavedSettings &settings)
{
    return writeTextFile(path, configurationText(settings));
}

QString savingFailureText(const QString &path, const SaveResult &result)
{
    return kErrorSavingFile + QStringLiteral("\r\n") + QDir::toNativeSeparators(path)
        + QStringLiteral(": ") + result.reason;
}

} // namespace tavrin::storage
