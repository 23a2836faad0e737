#pragma once

#include "ConfigFile.h"
#include "DefaultMessageStore.h"
#include "MainState.h"

#include <QString>

namespace tavrin::core {

// The main window's settings as a .led file holds them, and back.
storage::SavedSettings savedSettings(const MainState &state, const DefaultMessageStore &store);
void applySavedSettings(const storage::SavedSettings &settings, MainState &state,
                        DefaultMessageStore &store);

storage::SaveResult saveConfiguration(const QString &path, const MainState &state,
                                      const DefaultMessageStore &store);
// Reads path into the state and the store (storage::readConfigFile, with the state's lists).
storage::ReadResult readConfigFile(const QString &path, MainState &state,
                                   DefaultMessageStore &store);
// The same for a file's bytes already in memory (Windows-1252).
storage::ReadResult readConfigBytes(const QByteArray &bytes, MainState &state,
                                    DefaultMessageStore &store);
// The same, then path becomes the store's configFileName whatever the read gave. The window
// shows result.message() when it is not empty, and on success sets result.toolTip on
// SetupDefaultMsg. The suggestion box follows in both cases.
storage::ReadResult openConfiguration(const QString &path, MainState &state,
                                      DefaultMessageStore &store);

} // namespace tavrin::core
