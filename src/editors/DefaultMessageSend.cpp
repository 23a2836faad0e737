// The default-message editor's sign commands and the timers that close the port after them.
#include "ClockCommand.h"
#include "DefaultMessageEditor.h"
#include "MessageCodes.h"

#include "core/AppTitle.h"

#include <QDateTime>

#include <algorithm>

namespace tavrin::editors {

namespace {

const QString kDownloadCaption = QStringLiteral("Download from Sign");
const QString kUploadCaption = QStringLiteral("Upload to Sign");

} // namespace

bool DefaultMessageEditor::openPort()
{
    // A send while the previous one still holds the port goes out on it; the countdown
    // starts again after this send.
    m_comClose.stop();
    if (m_link.isOpen())
        return true;
    const int portNumber = m_main.portIndex + 1;
    const link::OpenResult opened = m_link.open(portNumber);
    if (opened)
        return true;
    emit messageRequested(core::kAppTitle, link::openFailureMessage(opened, portNumber));
    return false;
}

void DefaultMessageEditor::startClosing()
{
    m_state.closeCountdown = kComCloseTicks;
    m_lateTicks = 0;
    m_comClose.start();
    m_state.progress = 0;
    m_state.progressVisible = true;
    m_progressTimer.start();
    changed();
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
    m_link.write(kDownloadDefaultMsgCommand);
    m_waiting = true;
    Sleep(kTimeStatusWaitTicks);
    m_waiting = false;
    m_link.write(kTimeStatusCommand);
    startClosing();
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
    m_link.write(command + QLatin1Char('\r'));

    const bool anyChanged
        = std::find(m_state.attributeChanged.begin(), m_state.attributeChanged.end(), true)
        != m_state.attributeChanged.end();
    if (m_state.timeDisplayOn() && anyChanged) {
        const QString timeCommand = timeDisplayCommand(attributes, m_state.timeFormat);
        m_state.test = timeCommand;
        changed();
        m_waiting = true;
        Sleep(kTimeCommandWaitTicks);
        m_link.write(timeCommand + QLatin1Char('\r'));
        Sleep(kResetWaitTicks);
        m_link.write(kResetCommand);
        m_waiting = false;
        m_state.test += QStringLiteral(" , RESET");
    }
    m_removeAck.stop();
    startClosing();
}

void DefaultMessageEditor::TimeOnIdle_Click()
{
    if (m_waiting || !openPort())
        return;
    if (!m_state.timeDisplayOn()) {
        m_state.fontListEnabled = false;
        m_link.write(kIdleOnCommand);
        m_link.close();
        if (!m_state.message.isEmpty())
            showAck(kRemoveMessageText);
    } else {
        m_state.fontListEnabled = true;
        m_link.write(kIdleOffCommand);
        m_link.close();
    }
    changed();
    download(); // its TIME_STATUS answer shows the new state
}

void DefaultMessageEditor::SetTime_Click()
{
    if (m_waiting || !openPort())
        return;
    m_link.write(clockCommand(QDateTime::currentDateTime()));
    m_state.setTimeEnabled = false;
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.uploadCaption = QStringLiteral("Writing...");
    m_removeAck.stop();
    startClosing();
}

void DefaultMessageEditor::ComClose_Timer()
{
    if (m_state.closeCountdown >= 1) {
        --m_state.closeCountdown;
        return;
    }
    // A reply still coming in (a long message at 9600 baud) keeps the port open a while.
    if (m_link.lineArriving() && m_lateTicks < kLongReplyTicks) {
        ++m_lateTicks;
        return;
    }
    m_comClose.stop();
    if (m_link.isOpen()) {
        m_link.close();
        restoreButtons();
    }
    // While the sign shows the time on idle, these attributes belong to the time display.
    const bool off = !m_state.timeDisplayOn();
    m_state.fontListEnabled = off;
    m_state.styleListEnabled = off;
    m_state.pauseListEnabled = off;
    changed();
}

void DefaultMessageEditor::ProgressTimer_Timer()
{
    if (m_state.progress < DefaultMessageState::kProgressEnd) {
        m_state.progress += kProgressStep;
        changed();
    } else if (m_state.progressVisible) {
        m_state.progressVisible = false; // the timer runs on; there is nothing more to show
        changed();
    }
}

void DefaultMessageEditor::onLinkLost(const QString &description)
{
    const int portNumber = m_link.portNumber();
    m_comClose.stop();
    m_state.closeCountdown = 0;
    restoreButtons();
    changed();
    emit messageRequested(core::kAppTitle, link::connectionLostText(portNumber, description));
}

} // namespace tavrin::editors
