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

storage::SaveResult saveConfiguration(const QString &path, const MainState &state,
                                      const DefaultMessageStore &store)
{
    return storage::saveConfiguration(path, savedSettings(state, store));
}

namespace {

// Reads into the window's settings as they stand, so that a missing key keeps its control.
template<typename Source>
storage::ReadResult readInto(MainState &state, DefaultMessageStore &store, Source read)
{
    storage::SavedSettings settings = savedSettings(state, store);
    const storage::ReadResult result = read(settings, state.profile);
    applySavedSettings(settings, state, store);
    return result;
}

} // namespace

storage::ReadResult readConfigFile(const QString &path, MainState &state,
                                   DefaultMessageStore &store)
{
    return readInto(state, store, [&](storage::SavedSettings &settings, const auto &lists) {
        return storage::readConfigFile(path, settings, lists);
    });
}

storage::ReadResult readConfigBytes(const QByteArray &bytes, MainState &state,
                                    DefaultMessageStore &store)
{
    return readInto(state, store, [&](storage::SavedSettings &settings, const auto &lists) {
        return storage::readConfigBytes(bytes, settings, lists);
    });
}

storage::ReadResult openConfiguration(const QString &path, MainState &state,
                                      DefaultMessageStore &store)
{
    storage::ReadResult result = readConfigFile(path, state, store);
    store.configFileName = path;
    return result;
}

} // namespace tavrin::core
