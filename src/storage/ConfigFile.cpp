#include "ConfigFile.h"

#include "ConfigFileWriter.h"

namespace tavrin::storage {

bool saveConfiguration(const QString &path, const core::MainState &state,
                       const core::DefaultMessageStore &store)
{
    return SaveTextToFile(path, configurationText(state, store));
}

ReadResult openConfiguration(const QString &path, core::MainState &state,
                             core::DefaultMessageStore &store)
{
    ReadResult result = readConfigFile(path, state, store);
    store.configFileName = path;
    return result;
}

} // namespace tavrin::storage
