#include "ConfigFile.h"

#include "ConfigFileWriter.h"

namespace tavrin::storage {

bool saveConfiguration(const QString &path, const SavedSettings &settings)
{
    return writeTextFile(path, configurationText(settings));
}

} // namespace tavrin::storage
