// The test-message editor's sign commands.
#include "DefaultMessageProtocol.h"
#include "MessageCodes.h"
#include "TestMessageEditor.h"

#include "MainController.h"

namespace tavrin::editors {

using namespace protocol;

namespace {

// Item names, as the Ack label names what the sign did not confirm.
const QString kMessageItem = QStringLiteral("the message");
const QString kDownloadItem = QStringLiteral("the download");

} // namespace

int TestMessageEditor::portNumber() const
{
    return m_main.state().portIndex + 1; // the main window's selection when the send starts
}

void TestMessageEditor::restoreButtons()
{
    m_state.downloadCaption = QStringLiteral("Download from Sign");
    m_state.uploadCaption = QStringLiteral("Send Message to Sign");
    m_state.downloadEnabled = true;
    m_state.uploadEnabled = true;
    m_state.setTimeEnabled = true;
}

void TestMessageEditor::sendMessage(const QString &command)
{
    if (firstUnsendableCharacter(command)) {
        showAck(unsendableCharacterText(command));
        return; // nothing goes out until the character is gone
    }
    sendWriting([command] { return protocol::ExchangeItem { kMessageItem, { { command } } }; });
}

void TestMessageEditor::upload()
{
    sendMessage(buildTestMessage());
}

void TestMessageEditor::sendCommandText()
{
    sendMessage(m_state.test + QLatin1Char('\r'));
}

void TestMessageEditor::download()
{
    const auto item = [] {
        return protocol::ExchangeItem { kDownloadItem, { { kDownloadDefaultMsgCommand } } };
    };
    if (!port().send(portNumber(), item))
        return;
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.downloadCaption = QStringLiteral("Reading...");
    changed();
}

} // namespace tavrin::editors
