// The test-message editor's sign commands.
#include "ClockCommand.h"
#include "DefaultMessageProtocol.h"
#include "MessageCodes.h"
#include "TestMessageEditor.h"

#include "MainController.h"

#include <QDateTime>

namespace tavrin::editors {

using namespace protocol;

namespace {

const QString kWritingCaption = QStringLiteral("Writing...");

// Item names, as the Ack label names what the sign did not confirm.
const QString kMessageItem = QStringLiteral("the message");
const QString kClockItem = QStringLiteral("the clock");
const QString kDownloadItem = QStringLiteral("the download");

} // namespace

void TestMessageEditor::restoreButtons()
{
    m_state.downloadCaption = QStringLiteral("Download from Sign");
    m_state.uploadCaption = QStringLiteral("Send Message to Sign");
    m_state.downloadEnabled = true;
    m_state.uploadEnabled = true;
    m_state.setTimeEnabled = true;
}

// Upload, Test double-click and Set Time: Upload shows "Writing...".
bool TestMessageEditor::sendWriting(MessagePort::ItemBuilder item)
{
    if (!m_port.send(m_main.state().portIndex + 1, std::move(item)))
        return false;
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.uploadCaption = kWritingCaption;
    m_removeAck.stop();
    changed();
    return true;
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

void TestMessageEditor::setSignClock()
{
    // Read from the clock when it goes out, which may be after a send under way.
    if (sendWriting([] {
            return protocol::ExchangeItem { kClockItem,
                                            { { clockCommand(QDateTime::currentDateTime()) } } };
        })) {
        m_state.setTimeEnabled = false;
        changed();
    }
}

void TestMessageEditor::download()
{
    const auto item = [] {
        return protocol::ExchangeItem { kDownloadItem, { { kDownloadDefaultMsgCommand } } };
    };
    if (!m_port.send(m_main.state().portIndex + 1, item))
        return;
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.downloadCaption = QStringLiteral("Reading...");
    changed();
}

} // namespace tavrin::editors
