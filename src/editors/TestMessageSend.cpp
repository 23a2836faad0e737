// The test-message editor's sign commands and the timers that close the port after them.
#include "ClockCommand.h"
#include "DefaultMessageProtocol.h"
#include "MessageCodes.h"
#include "TestMessageEditor.h"

#include "core/AppTitle.h"
#include "core/MainController.h"

#include <QDateTime>

namespace tavrin::editors {

namespace {

const QString kWritingCaption = QStringLiteral("Writing...");

} // namespace

bool TestMessageEditor::openPort()
{
    // A send while the previous one still holds the port goes out on it; the countdown
    // starts again after this send.
    m_comClose.stop();
    if (m_link.isOpen())
        return true;
    const int portNumber = m_main.state().portIndex + 1;
    const link::OpenResult opened = m_link.open(portNumber);
    if (opened)
        return true;
    emit messageRequested(core::kAppTitle, link::openFailureMessage(opened, portNumber));
    return false;
}

void TestMessageEditor::startClosing()
{
    m_state.closeCountdown = kComCloseTicks;
    m_lateTicks = 0;
    m_comClose.start();
    m_state.progress = 0;
    m_state.progressVisible = true;
    m_progressTimer.start();
    changed();
}

void TestMessageEditor::restoreButtons()
{
    m_state.downloadCaption = QStringLiteral("Download from Sign");
    m_state.uploadCaption = QStringLiteral("Send Message to Sign");
    m_state.downloadEnabled = true;
    m_state.uploadEnabled = true;
    m_state.setTimeEnabled = true;
}

// Upload, Test double-click and Set Time: the command goes out, Upload shows "Writing...".
void TestMessageEditor::send(const QString &command, bool setTimeToo)
{
    if (firstUnsendableCharacter(command)) {
        showAck(unsendableCharacterText(command));
        return; // nothing goes out until the character is gone
    }
    if (!openPort())
        return;
    m_link.write(command);
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    if (setTimeToo)
        m_state.setTimeEnabled = false;
    m_state.uploadCaption = kWritingCaption;
    startClosing();
    m_removeAck.stop();
}

void TestMessageEditor::Upload_Click()
{
    send(buildTestMessage(), false);
}

void TestMessageEditor::Test_DblClick()
{
    send(m_state.test + QLatin1Char('\r'), false);
}

void TestMessageEditor::SetTime_Click()
{
    send(clockCommand(QDateTime::currentDateTime()), true);
}

void TestMessageEditor::Download_Click()
{
    if (!openPort())
        return;
    m_link.write(kDownloadDefaultMsgCommand);
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.downloadCaption = QStringLiteral("Reading...");
    startClosing();
}

void TestMessageEditor::ComClose_Timer()
{
    if (m_state.closeCountdown >= 1) {
        --m_state.closeCountdown;
        return;
    }
    // A reply still coming in (a long stored message at 9600 baud) keeps the port open a while.
    if (m_link.lineArriving() && m_lateTicks < kLongReplyTicks) {
        ++m_lateTicks;
        return;
    }
    m_comClose.stop();
    if (m_link.isOpen()) {
        m_link.close();
        restoreButtons();
    }
    changed();
}

void TestMessageEditor::ProgressTimer_Timer()
{
    if (m_state.progress < TestMessageState::kProgressEnd) {
        m_state.progress += kProgressStep;
        changed();
    } else if (m_state.progressVisible) {
        m_state.progressVisible = false; // the timer runs on; there is nothing more to show
        changed();
    }
}

void TestMessageEditor::onLinkLost(const QString &description)
{
    const int portNumber = m_link.portNumber();
    m_comClose.stop();
    m_state.closeCountdown = 0;
    restoreButtons();
    changed();
    emit messageRequested(core::kAppTitle, link::connectionLostText(portNumber, description));
}

} // namespace tavrin::editors
