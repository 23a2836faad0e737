#pragma once

#include <QString>

namespace tavrin::core {

// The default-message record the main window keeps for the other windows, with the name of
// the configuration file it came from and the test-message window's save-settings tick.
class DefaultMessageStore
{
public:
    QString DefMsg; // line breaks as CR LF, or as character 170 after a file was read
    qint16 DefFont = 0;
    qint16 DefColor = 0;
    qint16 DefStyle = 0;
    qint16 DefAlign = 0;
    qint16 DefSpeed = 0;
    qint16 DefPause = 0;
    QString configFileName; // "" unless the record came from an opened configuration file
    qint16 saveSettingsTick = 1;

    void store(const QString &defMsg, qint16 defFont, qint16 defColor, qint16 defStyle,
                        qint16 defAlign, qint16 defSpeed, qint16 defPause);
    // Despite its name it answers whether a configuration file is loaded: the editor then
    // shows the record as is instead of reading the message from the sign.
    bool hasNoConfigFile() const { return configFileName.isEmpty(); }
    void forgetConfigFile() { configFileName.clear(); }
    // configFileName, DefMsg and the six codes joined by "," without blanks.
    QString storedFields() const;
    void setSaveSettingsTick(qint16 tick) { saveSettingsTick = tick; }
    qint16 saveSettings() const { return saveSettingsTick; }

    // "Message:... , Pause:n", the tool tip of SetupDefaultMsg.
    QString summary() const;
};

} // namespace tavrin::core
