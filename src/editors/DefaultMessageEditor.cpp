// The default-message editor: opening, selections, replies and closing.
#include "DefaultMessageEditor.h"

#include "MessageCodes.h"

namespace tavrin::editors {

using vocab::Attribute;

namespace {

// The order of the six codes in the main window's stored record.
constexpr std::array kStoredOrder = { Attribute::Font,      Attribute::Color, Attribute::Style,
                                      Attribute::Alignment, Attribute::Speed, Attribute::Pause };
constexpr int kStoredFieldCount = 8; // file name, text, six codes

} // namespace

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
    m_state.codes.fill(-1);
    m_state.test.clear();
    emit profileApplied();
    startClock();

    m_state.timeFormats
        = vocab::timeFormatEntries(vocab::defaultMessageTimeFormatCount(m_main.modelLabel));
    selectTimeFormat(0);

    if (!m_store.hasNoConfigFile()) {
        // A file or message with a comma does not split into eight fields and is not loaded.
        const QStringList fields = m_store.storedFields().split(QLatin1Char(','));
        if (fields.size() != kStoredFieldCount)
            return;
        setMessage(decodeRecordCharacters(fields.at(1)));
        for (size_t i = 0; i < kStoredOrder.size(); ++i) {
            bool ok = false;
            const qint16 code = fields.at(qsizetype(i) + 2).toShort(&ok);
            if (ok)
                selectCode(kStoredOrder[i], code);
        }
        showAck(QStringLiteral("Getting data from File ") + fields.at(0));
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
    const auto code = [this](Attribute a) {
        return qint16(m_state.code(a));
    };
    m_store.store(m_state.message, code(Attribute::Font), code(Attribute::Color),
                           code(Attribute::Style), code(Attribute::Alignment),
                           code(Attribute::Speed), code(Attribute::Pause));
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
    m_state.unsendable = unsendableCharacterText(text);
    changed();
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
    const std::pair<Attribute, std::optional<qint16>> codes[] = {
        { Attribute::Font, record.font },           { Attribute::Style, record.style },
        { Attribute::Color, record.color },         { Attribute::Speed, record.speed },
        { Attribute::Alignment, record.alignment }, { Attribute::Pause, record.pause },
    };
    for (const auto &[attribute, code] : codes) {
        if (code)
            selectCode(attribute, *code);
    }
    if (record.text)
        setMessage(*record.text);
}

} // namespace tavrin::editors
