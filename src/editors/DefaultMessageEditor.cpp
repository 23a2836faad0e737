// The default-message editor: opening, selections, replies and closing.
#include "DefaultMessageEditor.h"

#include "MessageCodes.h"

namespace tavrin::editors {

using namespace protocol;

using vocab::Attribute;

DefaultMessageEditor::DefaultMessageEditor(core::DefaultMessageStore &store, MainWindowView main,
                                           QObject *parent)
    : MessageWindowController(kCloseDelay, parent)
    , m_store(store)
    , m_main(std::move(main))
{
    connect(&port(), &MessagePort::answered, this, &DefaultMessageEditor::handleDefaultReply);
    connect(&port(), &MessagePort::commandWritten, this, &DefaultMessageEditor::commandWritten);
    connect(&port(), &MessagePort::itemSettled, this, &DefaultMessageEditor::itemSettled);
    connect(&port(), &MessagePort::idle, this, &DefaultMessageEditor::portIdle);
}

DefaultMessageEditor::~DefaultMessageEditor() = default;

void DefaultMessageEditor::open()
{
    m_state.profile = vocab::defaultMessageProfile(m_main.modelNumber);
    m_state.listsKnown = !m_state.profile.vocabulary(Attribute::Font).empty();
    m_state.uploadEnabled = m_state.listsKnown;
    m_state.codes.fill(-1);
    m_state.test.clear();
    emit profileApplied();
    startClock();

    m_state.timeFormats
        = vocab::timeFormatEntries(vocab::defaultMessageTimeFormatCount(m_main.modelLabel));
    selectTimeFormat(0);

    if (m_store.cameFromFile()) {
        // A file name or message with a comma was never loaded here: the record the window
        // kept for this editor split into fields at every comma.
        const QChar comma = QLatin1Char(',');
        if (m_store.configFileName.contains(comma) || m_store.message.text.contains(comma))
            return;
        setMessage(decodeRecordCharacters(m_store.message.text));
        for (Attribute attribute : kSignFieldOrder) {
            if (attribute != Attribute::Beep)
                selectCode(attribute, m_store.message.attributes.code(attribute));
        }
        showAck(QStringLiteral("Getting data from File ") + m_store.configFileName);
    } else {
        m_placeholderShown = true;
        m_openingDownload = startDownload();
    }
}

void DefaultMessageEditor::close()
{
    // The time-format placeholder is no message of the sign's: what the store holds stays.
    if (m_placeholderShown && !m_edited)
        return;
    m_store.message = { m_state.message, m_state.attributes() };
}

void DefaultMessageEditor::listClick(Attribute attribute, int index)
{
    m_edited = true;
    selectCode(attribute, index);
}

void DefaultMessageEditor::selectCode(Attribute attribute, int index)
{
    const auto slot = size_t(attribute);
    if (slot >= m_state.codes.size())
        return;
    const int selected
        = vocab::selectByCode(m_state.codes[slot], index, m_state.listCount(attribute));
    if (selected != index)
        return; // the list cannot take it: skipped
    m_state.codes[slot] = index;
    m_state.attributeChanged[slot] = true;
    if (attribute == Attribute::Alignment && index >= 0)
        m_state.messageAlignment = index;
    changed();
}

void DefaultMessageEditor::chooseTimeFormat(int index)
{
    m_edited = true;
    selectTimeFormat(index);
}

void DefaultMessageEditor::selectTimeFormat(int index)
{
    if (index < 0 || index >= m_state.timeFormats.size())
        return;
    m_state.timeFormat = index;
    m_state.attributeChanged[DefaultMessageState::kTimeFormatFlag] = true;
    setMessage(QLatin1Char('<') + m_state.timeFormats.at(index) + QLatin1Char('>'));
}

void DefaultMessageEditor::insertTime()
{
    m_edited = true;
    const QString format = m_state.timeFormats.value(m_state.timeFormat);
    setMessage(m_state.message + QLatin1Char('<') + format + QLatin1Char('>'));
}

void DefaultMessageEditor::setMessageText(const QString &text)
{
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    normalized.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    m_edited = m_edited || normalized != m_state.message;
    setMessage(normalized);
}

void DefaultMessageEditor::setMessage(const QString &text)
{
    m_state.message = text;
    m_state.unsendable = m_state.listsKnown ? unsendableCharacterText(text) : unknownListsText();
    changed();
}

QString DefaultMessageEditor::unknownListsText() const
{
    const QString model = m_main.modelNumber.isEmpty()
        ? QStringLiteral(
            "The sign's model is not known yet (Download from Sign in the main window)")
        : QStringLiteral("The lists of sign model \"%1\" are not known").arg(m_main.modelNumber);
    return model + QStringLiteral(": this message can be saved in a file but not uploaded.");
}

void DefaultMessageEditor::handleDefaultReply(const SignAnswer &answer)
{
    const DefaultReply reply = parseDefaultReply(answer);
    switch (reply.kind) {
    case DefaultReply::Kind::Ignored:
        return;
    case DefaultReply::Kind::Done:
        showAck(m_state.timeDisplayOn() && !m_state.message.isEmpty()
                    ? kRemoveMessageText
                    : QStringLiteral("Upload Successfull"));
        break;
    case DefaultReply::Kind::TimeStatus:
        m_state.timeDisplayStatus
            = reply.timeDisplayOn ? DefaultMessageState::kTimeOn : DefaultMessageState::kTimeOff;
        changed();
        return;
    case DefaultReply::Kind::DefaultUploaded:
        showAck(QStringLiteral("Default message uploaded successfully"));
        break;
    case DefaultReply::Kind::DefaultDeleted:
        showAck(QStringLiteral("Default message deleted"));
        break;
    case DefaultReply::Kind::Record:
        applyRecord(reply.record);
        if (m_openingDownload)
            showAck(QStringLiteral("Data downloaded successfully from LED Sign"));
        break;
    }
    // The sign now holds what is shown, unless it took only the time display.
    if (!answer.command.startsWith(QLatin1String("<TIME")))
        m_placeholderShown = false;
}

void DefaultMessageEditor::applyRecord(const DefaultMessageRecord &record)
{
    for (size_t i = 0; i < record.codes.size(); ++i) {
        if (record.codes[i])
            selectCode(kSignFieldOrder[i], *record.codes[i]);
    }
    if (record.text)
        setMessage(*record.text);
}

} // namespace tavrin::editors
