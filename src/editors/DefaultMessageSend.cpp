// The default-message editor's sign commands.
#include "DefaultMessageEditor.h"
#include "MessageCodes.h"

#include <algorithm>

namespace tavrin::editors {

using namespace protocol;

namespace {

const QString kDownloadCaption = QStringLiteral("Download from Sign");
const QString kUploadCaption = QStringLiteral("Upload to Sign");

// Item names, as the Ack label names what the sign did not confirm.
const QString kDownloadItem = QStringLiteral("the download");
const QString kMessageItem = QStringLiteral("the message");
const QString kTimeDisplayItem = QStringLiteral("the time display");

constexpr auto kCloseAtOnce = 0ms;

} // namespace

void DefaultMessageEditor::restoreButtons()
{
    m_state.downloadCaption = kDownloadCaption;
    m_state.uploadCaption = kUploadCaption;
    m_state.downloadEnabled = true;
    m_state.uploadEnabled = m_state.listsKnown;
    m_state.setTimeEnabled = true;
}

void DefaultMessageEditor::download()
{
    startDownload();
}

bool DefaultMessageEditor::startDownload()
{
    m_store.forgetConfigFile(); // the message now comes from the sign
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.downloadCaption = QStringLiteral("Reading...");
    changed();
    const bool sent = port().send(portNumber(), [] {
        return protocol::ExchangeItem { kDownloadItem,
                                        { { kDownloadDefaultMsgCommand },
                                          { kTimeStatusCommand, kTimeStatusPause } } };
    });
    if (!sent) {
        restoreButtons();
        changed();
    }
    return sent;
}

void DefaultMessageEditor::upload()
{
    if (!m_state.listsKnown) {
        showAck(unknownListsText()); // its codes would be -1, which the sign refuses
        return;
    }
    const protocol::Attributes attributes = m_state.attributes();
    const QString command
        = defaultMessageCommand(m_state.message, attributes, m_state.timeDisplayOn());
    if (firstUnsendableCharacter(command)) {
        showAck(m_state.unsendable);
        return; // nothing goes out until the character is gone
    }
    m_state.test = command;
    changed();

    protocol::ExchangeItem item { kMessageItem, { { command + QLatin1Char('\r') } } };
    const bool anyChanged
        = std::find(m_state.attributeChanged.begin(), m_state.attributeChanged.end(), true)
        != m_state.attributeChanged.end();
    if (m_state.timeDisplayOn() && anyChanged) {
        item.commands << protocol::SignCommand { timeDisplayCommand(attributes, m_state.timeFormat)
                                                     + QLatin1Char('\r'),
                                                 kTimeCommandPause }
                      << protocol::SignCommand { kResetCommand, kResetPause };
    }
    sendWriting([item] { return item; });
}

void DefaultMessageEditor::showTimeOnIdle()
{
    const bool on = !m_state.timeDisplayOn();
    // The switch goes out bare and the port closes at once; the download shows the new state.
    const bool sent = port().send(
        portNumber(),
        [on] {
            return protocol::ExchangeItem { kTimeDisplayItem,
                                            { { on ? kIdleOnCommand : kIdleOffCommand } } };
        },
        kCloseAtOnce);
    if (!sent)
        return;
    m_state.fontListEnabled = !on;
    if (on && !m_state.message.isEmpty())
        showAck(kRemoveMessageText);
    changed();
    startDownload();
}

void DefaultMessageEditor::commandWritten(const QString &text)
{
    if (text.startsWith(QLatin1String("<TIME f="))) {
        m_state.test = text.chopped(1);
        changed();
    } else if (text == kResetCommand) {
        m_state.test += QStringLiteral(" , RESET");
        changed();
    }
}

void DefaultMessageEditor::itemSettled(const protocol::ExchangeItem &item)
{
    if (item.name == kDownloadItem)
        m_openingDownload = false;
}

void DefaultMessageEditor::portIdle()
{
    restoreButtons();
    // While the sign shows the time on idle, these attributes belong to the time display.
    const bool off = !m_state.timeDisplayOn();
    m_state.fontListEnabled = off;
    m_state.styleListEnabled = off;
    m_state.pauseListEnabled = off;
    changed();
}

} // namespace tavrin::editors
