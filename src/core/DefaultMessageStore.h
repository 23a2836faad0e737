#pragma once

#include "DefaultMessageProtocol.h"

#include <QString>

namespace tavrin::core {

// The default message the main window keeps for the other windows, with the name of the
// configuration file it came from and the test-message window's save-settings tick.
struct DefaultMessageStore
{
    protocol::DefaultMessage message;
    QString configFileName; // "" unless the message came from an opened configuration file
    qint16 saveSettingsTick = 1;

    // The default-message editor then shows the message as is instead of reading it from
    // the sign.
    bool cameFromFile() const { return !configFileName.isEmpty(); }
    void forgetConfigFile() { configFileName.clear(); }
};

} // namespace tavrin::core
