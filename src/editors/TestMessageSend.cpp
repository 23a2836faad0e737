// The test-message editor's sign commands.
#include "ClockCommand.h"
#include "DefaultMessageProtocol.h"
#include "MessageCodes.h"
#include "TestMessageEditor.h"

#include "core/MainController.h"

#include <QDateTime>

namespace tavrin::editors {

namespace {

const QString kWritingCaption = QStringLiteral("Writing...");

} // namespace

bool TestMessageEditor::openPort()
{
    return m_port.open(m_main.state().portIndex + 1);
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
    serialLink().write(command);
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    if (setTimeToo)
        m_state.setTimeEnabled = false;
    m_state.uploadCaption = kWritingCaption;
    m_port.startClosing();
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
    serialLink().write(kDownloadDefaultMsgCommand);
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.downloadCaption = QStringLiteral("Reading...");
    m_port.startClosing();
}

} // namespace tavrin::editors
