#include "MainFile.h"

namespace tavrin::core {

storage::SavedSettings savedSettings(const MainState &state, const DefaultMessageStore &store)
{
    return { state.modelLabel, state.portIndex, state.config, store.message };
}

void applySavedSettings(const storage::SavedSettings &settings, MainState &state,
                        DefaultMessageStore &store)
{
    state.modelLabel = settings.modelLabel;
    state.portIndex = settings.portIndex;
    state.config = settings.config;
    store.message = settings.defaultMessage;
}

bool saveConfiguration(const QString &path, const MainState &state,
                       const DefaultMessageStore &store)
{
    return storage::saveConfiguration(path, savedSettings(state, store));
}

storage::ReadResult readConfigFile(const QString &path, MainState &state,
                                   DefaultMessageStore &store)
{
    storage::SavedSettings settings = savedSettings(state, store);
    const storage::ReadResult result = storage::readConfigFile(path, settings, state.profile);
    applySavedSettings(settings, state, store);
    return result;
}

storage::ReadResult openConfiguration(const QString &path, MainState &state,
                                      DefaultMessageStore &store)
{
    storage::ReadResult result = readConfigFile(path, state, store);
    store.configFileName = path;
    return result;
}

} // namespace tavrin::core
