#include "TestMessageDialog.h"

#include "Controls.h"
#include "Twips.h"

#include "MainController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTextEdit>

namespace tavrin::ui {

using editors::TestMessageState;
using vocab::Attribute;

namespace {

constexpr int kFullWidth = 13200;
constexpr int kHeadingTop = 2250;
constexpr int kTimeoutLeft = 9300;
constexpr int kTimeoutWidth = 720;

QComboBox *combo(QWidget *parent, const char *objectName)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(QLatin1String(objectName));
    return c;
}

} // namespace

TestMessageDialog::TestMessageDialog(core::MainController &main, QWidget *parent)
    : MessageDialog(
        { "LEDTestMessage", "Send Test Message", kWidthTwips, kHeightTwips, kFullWidth },
        messagelayout::kTestMessageColumns, parent)
    , m_editor(main)
{
    m_commandShow.setSingleShot(true);
    m_commandShow.setInterval(kLongCommandPause);
    connect(&m_commandShow, &QTimer::timeout, this, &TestMessageDialog::showCommand);
    buildControls();
    connectControls();
    m_editor.open();
    refresh();
}

TestMessageDialog::~TestMessageDialog()
{
    // The composer shows the editor's document, which goes first.
    m_composer->setDocument(nullptr);
}

void TestMessageDialog::buildControls()
{
    m_composer = buildMessageBox(QStringLiteral("Message"), "ColorTextBox", 1530);
    m_composer->setDocument(&m_editor.document());
    m_editor.document().setDefaultFont(font());

    buildLists(kHeadingTop);
    QLabel *colorHeading = heading(Attribute::Color);
    colorHeading->installEventFilter(this);
    colorHeading->setToolTip(QStringLiteral(
        "Double-click to format only the selected text (underlined while on) or the whole text"));
    place(label(this, QStringLiteral("Timeout"), "Label10"), hx(kTimeoutLeft), kHeadingTop,
          hw(kTimeoutWidth), 255);
    m_timeout = new QLineEdit(this);
    m_timeout->setObjectName(QStringLiteral("Timeout"));
    m_timeout->setAccessibleName(QStringLiteral("Timeout"));
    place(m_timeout, hx(kTimeoutLeft), kHeadingTop + 270, hw(kTimeoutWidth), 315);

    buildMessageSettings();

    constexpr int clockRow = 5760;
    buildClock(clockRow);
    place(label(this, QStringLiteral("Message on Sign"), "Label12"), 6600, clockRow + 60, 1500,
          255);
    m_defaultMessage = new QPlainTextEdit(this);
    m_defaultMessage->setObjectName(QStringLiteral("defaultMessage"));
    m_defaultMessage->setReadOnly(true);
    place(m_defaultMessage, 8160, clockRow, kMessageMargin + kFullWidth - 8160, 600);

    m_test = buildCommandBox(6480, "Label13");
    m_test->setToolTip(QStringLiteral("Double-click to send this command as it stands"));
    m_test->installEventFilter(this);
    buildSendButtons(6900);
    buildAckAndProgress(7440);
}

// The row under the lists: message ID, priority, its tick and the time format.
void TestMessageDialog::buildMessageSettings()
{
    constexpr int top = 5220;
    place(label(this, QStringLiteral("Message ID"), "Label11"), kMessageMargin, top + 45, 960, 255);
    m_msgID = combo(this, "MsgID");
    m_msgID->addItems(vocab::messageIdEntries());
    place(m_msgID, 1680, top, 780, 315);
    m_msgPri = combo(this, "MsgPri");
    m_msgPri->addItems(vocab::priorityEntries());
    place(m_msgPri, 2700, top, 1440, 315);
    m_saveSettings = new QCheckBox(QStringLiteral("Save changes to Priority"), this);
    m_saveSettings->setObjectName(QStringLiteral("SaveSettings"));
    place(m_saveSettings, 4320, top, 2700, 315);
    m_timeFormatHeading = label(this, QStringLiteral("Time Format"), "Label8");
    place(m_timeFormatHeading, 7380, top + 45, 1200, 255);
    m_timeFormat = combo(this, "TimeFormat");
    m_timeFormatHeading->setBuddy(m_timeFormat);
    place(m_timeFormat, 8580, top, 2100, 315);
    m_insertTime = button(this, QStringLiteral("Insert Time"), "InsertTime");
    place(m_insertTime, 10800, top - 30, 1500, 375);
}

void TestMessageDialog::connectControls()
{
    using editors::TestMessageEditor;
    auto &e = m_editor;
    connectEditor(e);
    connect(&e, &TestMessageEditor::profileApplied, this, &TestMessageDialog::fillLists);
    connect(&e, &TestMessageEditor::stateChanged, this, &TestMessageDialog::refresh);

    connect(m_timeout, &QLineEdit::textEdited, &e, &TestMessageEditor::setTimeoutText);
    connect(m_msgID, &QComboBox::activated, &e, &TestMessageEditor::selectMessageId);
    connect(m_msgPri, &QComboBox::activated, &e, &TestMessageEditor::loadPriority);
    connect(m_timeFormat, &QComboBox::activated, &e, &TestMessageEditor::chooseTimeFormat);
    connect(m_saveSettings, &QCheckBox::clicked, &e, &TestMessageEditor::setSaveToPriority);
    connect(m_insertTime, &QPushButton::clicked, &e, &TestMessageEditor::insertTime);

    const auto followCursor = [this] {
        if (!m_syncing)
            m_editor.setComposerCursor(m_composer->textCursor());
    };
    connect(m_composer, &QTextEdit::cursorPositionChanged, this, followCursor);
    connect(m_composer, &QTextEdit::selectionChanged, this, followCursor);
    connect(m_composer, &QTextEdit::textChanged, this, [this] {
        // The control is still inside its own edit: the caret is only moved in place.
        const QScopedValueRollback inside(m_inTextChange, true);
        m_editor.composerEdited(m_composer->textCursor());
    });
    connect(m_test, &QLineEdit::textEdited, &e, &TestMessageEditor::setTestText);
}

bool TestMessageDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == heading(Attribute::Color)) {
            m_editor.toggleSelectionOnly();
            return true;
        }
        if (watched == m_test) {
            m_editor.sendCommandText();
            return true;
        }
    }
    return MessageDialog::eventFilter(watched, event);
}

void TestMessageDialog::fillLists()
{
    const TestMessageState &s = m_editor.state();
    MessageDialog::fillLists(s.profile, s.profile.vx903);
    {
        const QSignalBlocker block(m_timeFormat);
        m_timeFormat->clear();
        m_timeFormat->addItems(s.timeFormats);
        m_timeFormat->setCurrentIndex(s.timeFormat);
    }
    const vocab::TestMessageProfile &p = s.profile;
    m_timeFormatHeading->setVisible(p.timeControlsVisible);
    m_timeFormat->setVisible(p.timeControlsVisible);
    m_insertTime->setVisible(p.timeControlsVisible);
    list(Attribute::Speed)->setEnabled(p.speedAndAlignmentEnabled);
    list(Attribute::Alignment)->setEnabled(p.speedAndAlignmentEnabled);
}

void TestMessageDialog::refresh()
{
    const TestMessageState &s = m_editor.state();
    showCodes(s);
    setTextIfChanged(m_timeout, s.timeout);
    selectIfChanged(m_msgID, s.messageId);
    selectIfChanged(m_msgPri, s.priority);
    selectIfChanged(m_timeFormat, s.timeFormat);
    m_saveSettings->setChecked(s.saveSettings);
    QLabel *colorHeading = heading(Attribute::Color);
    if (colorHeading->font().underline() != s.selectionOnly) {
        QFont f = colorHeading->font();
        f.setUnderline(s.selectionOnly);
        colorHeading->setFont(f);
    }

    if (s.test.size() <= kLongCommandChars || m_test->hasFocus())
        showCommand();
    else if (m_test->text() != s.test)
        m_commandShow.start();
    if (m_defaultMessage->toPlainText() != s.defaultMessage)
        m_defaultMessage->setPlainText(s.defaultMessage);
    showShared(s);
    syncComposerCursor();
}

void TestMessageDialog::showCommand()
{
    m_commandShow.stop();
    setTextIfChanged(m_test, m_editor.state().test);
}

// The editor sets the format typed next, and loads a selection it is given; the control's own
// cursor follows.
void TestMessageDialog::syncComposerCursor()
{
    const QTextCursor &wanted = m_editor.composerCursor();
    const QTextCursor shown = m_composer->textCursor();
    if (shown.position() == wanted.position() && shown.anchor() == wanted.anchor()
        && shown.charFormat() == wanted.charFormat())
        return;
    const QScopedValueRollback syncing(m_syncing, true);
    if (m_inTextChange) {
        // Replacing the control's cursor while it is inserting would pull it from under the
        // insertion; the caret stays where the control put it.
        m_composer->setCurrentCharFormat(wanted.charFormat());
        return;
    }
    m_composer->setTextCursor(wanted);
}

} // namespace tavrin::ui
