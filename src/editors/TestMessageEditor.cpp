// The test-message editor: opening, choices, the composer and the message command.
#include "TestMessageEditor.h"

#include "DefaultMessageProtocol.h"
#include "MessageCodes.h"

#include "MainController.h"

#include <QScopedValueRollback>
#include <QTextBlockFormat>

namespace tavrin::editors {

using namespace protocol;

using vocab::Attribute;

namespace {

// The order in which a priority row is loaded into the lists.
constexpr std::array kLoadOrder
    = { Attribute::Font,      Attribute::Color, Attribute::Style, Attribute::Speed,
        Attribute::Alignment, Attribute::Pause, Attribute::Beep };
constexpr int kAlignmentCount = 3;

} // namespace

TestMessageEditor::TestMessageEditor(core::MainController &main, QObject *parent)
    : MessageWindowController(kCloseDelay, parent)
    , m_main(main)
    , m_cursor(&m_document)
{
    connect(&port(), &MessagePort::answered, this, &TestMessageEditor::handleTestReply);
    connect(&port(), &MessagePort::idle, this, [this] {
        restoreButtons();
        changed();
    });
}

TestMessageEditor::~TestMessageEditor() = default;

void TestMessageEditor::setComposerCursor(const QTextCursor &cursor)
{
    if (m_editing || cursor.document() != &m_document)
        return;
    m_cursor = cursor;
    showCaretAttributes();
}

// Only what the lists show: nothing is formatted or written back until the operator chooses.
void TestMessageEditor::showCaretAttributes()
{
    QTextCharFormat format = m_cursor.charFormat();
    if (m_cursor.hasSelection()) {
        QTextCursor first(&m_document);
        first.setPosition(m_cursor.selectionStart() + 1);
        format = first.charFormat();
    }
    bool shownChanged = false;
    const auto show = [&](Attribute attribute, std::optional<int> index) {
        int &code = m_state.codes[size_t(attribute)];
        if (index && *index < m_state.listCount(attribute) && code != *index) {
            code = *index;
            shownChanged = true;
        }
    };
    show(Attribute::Font, previewFontIndex(format));
    show(Attribute::Color, previewColorIndex(format, m_state.previewColors));
    if (shownChanged)
        changed();
}

void TestMessageEditor::open()
{
    m_state.profile = vocab::testMessageProfile(m_main.state().modelNumber);
    m_state.codes.fill(-1);
    m_state.timeFormats = vocab::timeFormatEntries(m_state.profile.timeFormatCount);
    m_state.timeFormat = m_state.profile.timeFormatSelection;
    emit profileApplied();
    startClock();

    m_state.messageId = 0;
    m_state.previewColors = standardPreviewColors();
    loadPriority(0);
    m_state.selectionOnly = false;
    m_state.saveSettings = m_main.defaultMessage().saveSettingsTick != 0;
    changed();
}

void TestMessageEditor::listClick(Attribute attribute, int index)
{
    choose(attribute, index, WriteBack::Yes);
}

void TestMessageEditor::choose(Attribute attribute, int index, WriteBack writeBack)
{
    const auto slot = size_t(attribute);
    if (slot >= m_state.codes.size())
        return;
    if (vocab::selectByCode(m_state.codes[slot], index, m_state.listCount(attribute)) != index)
        return; // one the list cannot take
    // The entry already chosen runs its handler too: it may format a new selection.
    m_state.codes[slot] = index;
    changed();

    const bool toRow = writeBack == WriteBack::Yes;
    if (attribute == Attribute::Alignment) {
        format(attribute, index);
        if (toRow)
            this->writeBack(attribute, index);
    } else {
        if (toRow)
            this->writeBack(attribute, index);
        format(attribute, index);
    }
    buildTestMessage();
}

void TestMessageEditor::setTimeoutText(const QString &text)
{
    if (text == m_state.timeout)
        return;
    m_state.timeout = text;
    const int row = m_state.priority;
    if (m_state.saveSettings && row >= 0 && row < vocab::kPriorityCount)
        m_main.setTimeoutText(row, text);
    buildTestMessage();
}

void TestMessageEditor::writeBack(Attribute attribute, int index)
{
    const int row = m_state.priority;
    if (m_state.saveSettings && row >= 0 && row < vocab::kPriorityCount)
        m_main.setRowCode(row, attribute, index);
}

void TestMessageEditor::format(Attribute attribute, int index)
{
    switch (attribute) {
    case Attribute::Font:
        if (index >= 0 && index < kPreviewFontCount)
            applyToTarget(previewFontFormat(index));
        break;
    case Attribute::Color:
        if (index >= 0 && index < kPreviewColorCount)
            applyToTarget(previewColorFormat(m_state.previewColors[size_t(index)]));
        break;
    case Attribute::Alignment:
        if (index >= 0 && index < kAlignmentCount) {
            QTextBlockFormat block;
            block.setAlignment(textAlignment(index));
            const QScopedValueRollback editing(m_editing, true);
            targetOf(m_cursor).mergeBlockFormat(block);
        }
        break;
    default:
        break;
    }
}

// What a choice formats: the whole text, or in selection-only mode (and while the composer
// is empty) the operator's selection or caret, whose format is what typing takes next.
QTextCursor TestMessageEditor::targetOf(const QTextCursor &operatorCursor) const
{
    if (m_state.selectionOnly || m_document.isEmpty())
        return operatorCursor;
    QTextCursor whole(operatorCursor);
    whole.select(QTextCursor::Document);
    return whole;
}

void TestMessageEditor::applyToTarget(const QTextCharFormat &format)
{
    const QScopedValueRollback editing(m_editing, true);
    QTextCursor target = targetOf(m_cursor);
    if (target.hasSelection())
        target.mergeCharFormat(format);
    // Formatting a copy leaves the operator's caret and selection where they were; the caret
    // also takes the format for what is typed next.
    if (!m_cursor.hasSelection())
        m_cursor.mergeCharFormat(format);
}

void TestMessageEditor::selectMessageId(int index)
{
    // The command keeps the old ID until the next build; Upload always builds.
    if (index >= 0 && index < vocab::messageIdEntries().size()) {
        m_state.messageId = index;
        changed();
    }
}

void TestMessageEditor::loadPriority(int index)
{
    if (index < 0 || index >= vocab::kPriorityCount)
        return;
    m_state.priority = index;
    changed();
    // Each value is read as its turn comes: a handler before it may have written the row.
    for (const Attribute attribute : kLoadOrder)
        choose(attribute, m_main.state().config.rows[size_t(index)].code(attribute),
               WriteBack::Yes);
    setTimeoutText(m_main.state().config.rows[size_t(index)].timeout);
}

void TestMessageEditor::chooseTimeFormat(int index)
{
    if (index >= 0 && index < m_state.timeFormats.size()) {
        m_state.timeFormat = index;
        changed();
    }
}

void TestMessageEditor::setSaveToPriority(bool ticked)
{
    m_state.saveSettings = ticked;
    m_main.defaultMessage().saveSettingsTick = ticked ? 1 : 0;
    changed();
}

void TestMessageEditor::toggleSelectionOnly()
{
    m_state.selectionOnly = !m_state.selectionOnly;
    changed();
}

void TestMessageEditor::insertTime()
{
    const QString format = m_state.timeFormats.value(m_state.timeFormat);
    {
        // Appended rather than the whole text set anew, so the runs before it keep their look.
        const QScopedValueRollback editing(m_editing, true);
        QTextCursor end(&m_document);
        end.movePosition(QTextCursor::End);
        // Its own undo step, never merged with the typing before it.
        end.beginEditBlock();
        end.insertText(QLatin1Char('<') + format + QLatin1Char('>'));
        end.endEditBlock();
    }
    composerChanged();
}

void TestMessageEditor::composerEdited(const QTextCursor &selection)
{
    if (m_editing)
        return;
    setComposerCursor(selection);
    composerChanged();
}

void TestMessageEditor::composerChanged()
{
    const int color = m_state.code(Attribute::Color);
    if (color >= 0 && color < kPreviewColorCount) {
        const QScopedValueRollback editing(m_editing, true);
        m_cursor.mergeCharFormat(previewColorFormat(m_state.previewColors[size_t(color)]));
    }
    buildTestMessage();
}

void TestMessageEditor::setTestText(const QString &text)
{
    m_state.test = text;
    m_state.unsendable = unsendableCharacterText(text);
    changed();
}

QString TestMessageEditor::buildTestMessage()
{
    QString body = scanTestMessageBody(m_document, m_state.previewColors);
    protocol::PriorityRow priority;
    for (Attribute attribute : protocol::kSignFieldOrder)
        priority.code(attribute) = protocol::Code(m_state.code(attribute));
    priority.timeout = m_state.timeout;
    // Codes that lead the text say what the header says, and move into it. The lists keep
    // what the operator chose and what the caret shows: a build selects and writes back
    // nothing, so the priority row never takes values read from the text.
    if (const auto font = leadingFontCode(body);
        font && *font < m_state.listCount(Attribute::Font)) {
        priority.code(Attribute::Font) = protocol::Code(*font);
        body.remove(0, 3);
    }
    if (const auto color = leadingColorCode(body);
        color && *color < m_state.listCount(Attribute::Color)) {
        priority.code(Attribute::Color) = protocol::Code(*color);
        body.remove(0, 3);
    }

    const QString command = protocol::testMessageCommand(m_state.messageId, priority, body);
    // The command box shows the command without its terminator, which a line edit draws as
    // nothing; sendCommandText() adds it again.
    m_state.test = command.chopped(1);
    m_state.unsendable = unsendableCharacterText(command);
    changed();
    return command;
}

void TestMessageEditor::handleTestReply(const SignAnswer &answer)
{
    const DefaultReply reply = parseTestReply(answer);
    if (reply.kind == DefaultReply::Kind::Done) {
        showAck(QStringLiteral("Upload Successfull"));
    } else if (reply.kind == DefaultReply::Kind::Record) {
        const DefaultMessageRecord &r = reply.record;
        for (size_t i = 0; i < r.codes.size(); ++i) {
            if (r.codes[i]) // a number beyond 16 bits is skipped
                choose(kSignFieldOrder[i], *r.codes[i], WriteBack::No); // not the row's own
        }
        if (r.text) {
            m_state.defaultMessage = *r.text;
            changed();
        }
    }
}

} // namespace tavrin::editors
