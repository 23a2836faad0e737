// The default-message editor's sign commands.
#include "ClockCommand.h"
#include "DefaultMessageEditor.h"
#include "MessageCodes.h"

#include <QDateTime>

#include <algorithm>

namespace tavrin::editors {

namespace {

const QString kDownloadCaption = QStringLiteral("Download from Sign");
const QString kUploadCaption = QStringLiteral("Upload to Sign");

} // namespace

bool DefaultMessageEditor::openPort()
{
    return m_port.open(m_main.portIndex + 1);
}

void DefaultMessageEditor::restoreButtons()
{
    m_state.downloadCaption = kDownloadCaption;
    m_state.uploadCaption = kUploadCaption;
    m_state.downloadEnabled = true;
    m_state.uploadEnabled = true;
    m_state.setTimeEnabled = true;
}

void DefaultMessageEditor::Download_Click()
{
    download();
}

bool DefaultMessageEditor::download()
{
    if (m_waiting)
        return false;
    m_store.DeleteConfigFileName(); // the message now comes from the sign
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.downloadCaption = QStringLiteral("Reading...");
    changed();
    if (!openPort()) {
        restoreButtons();
        changed();
        return false;
    }
    serialLink().write(kDownloadDefaultMsgCommand);
    m_waiting = true;
    Sleep(kTimeStatusWaitTicks);
    m_waiting = false;
    // A line lost during the wait was told and gave the buttons back; nothing more goes out,
    // and nothing may look as if it did.
    if (!serialLink().write(kTimeStatusCommand))
        return false;
    m_port.startClosing();
    return true;
}

void DefaultMessageEditor::Upload_Click()
{
    if (m_waiting)
        return;
    const MessageAttributes attributes = m_state.attributes();
    const QString command
        = defaultMessageCommand(m_state.message, attributes, m_state.timeDisplayOn());
    if (firstUnsendableCharacter(command)) {
        showAck(m_state.unsendable);
        return; // nothing goes out until the character is gone
    }
    m_state.test = command;
    changed();
    if (!openPort())
        return;
    // Disabled before the writes, not after: a time display upload waits 700 ms in between.
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.uploadCaption = QStringLiteral("Writing...");
    serialLink().write(command + QLatin1Char('\r'));

    const bool anyChanged
        = std::find(m_state.attributeChanged.begin(), m_state.attributeChanged.end(), true)
        != m_state.attributeChanged.end();
    if (m_state.timeDisplayOn() && anyChanged) {
        const QString timeCommand = timeDisplayCommand(attributes, m_state.timeFormat);
        m_state.test = timeCommand;
        changed();
        m_waiting = true;
        Sleep(kTimeCommandWaitTicks);
        // As in download(): after a line lost during a wait, Test must not claim the RESET.
        bool lineKept = serialLink().write(timeCommand + QLatin1Char('\r'));
        if (lineKept) {
            Sleep(kResetWaitTicks);
            lineKept = serialLink().write(kResetCommand);
        }
        m_waiting = false;
        if (!lineKept)
            return;
        m_state.test += QStringLiteral(" , RESET");
    }
    m_removeAck.stop();
    m_port.startClosing();
}

void DefaultMessageEditor::TimeOnIdle_Click()
{
    if (m_waiting || !openPort())
        return;
    if (!m_state.timeDisplayOn()) {
        m_state.fontListEnabled = false;
        serialLink().write(kIdleOnCommand);
        serialLink().close();
        if (!m_state.message.isEmpty())
            showAck(kRemoveMessageText);
    } else {
        m_state.fontListEnabled = true;
        serialLink().write(kIdleOffCommand);
        serialLink().close();
    }
    changed();
    download(); // its TIME_STATUS answer shows the new state
}

void DefaultMessageEditor::SetTime_Click()
{
    if (m_waiting || !openPort())
        return;
    serialLink().write(clockCommand(QDateTime::currentDateTime()));
    m_state.setTimeEnabled = false;
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.uploadCaption = QStringLiteral("Writing...");
    m_removeAck.stop();
    m_port.startClosing();
}

void DefaultMessageEditor::portClosed(bool portWasOpen)
{
    if (portWasOpen)
        restoreButtons();
    // While the sign shows the time on idle, these attributes belong to the time display.
    const bool off = !m_state.timeDisplayOn();
    m_state.fontListEnabled = off;
    m_state.styleListEnabled = off;
    m_state.pauseListEnabled = off;
    changed();
}

} // namespace tavrin::editors
