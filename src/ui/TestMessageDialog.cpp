#include "TestMessageDialog.h"

#include "Controls.h"
#include "MessageWindowLayout.h"
#include "Twips.h"

#include "MainController.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
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
constexpr int kListTop = 2520;
constexpr int kListHeight = 2520;

using messagelayout::kTestMessageColumns;

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
    : QDialog(parent)
    , m_editor(main)
{
    setObjectName(QStringLiteral("LEDTestMessage"));
    setWindowTitle(QStringLiteral("Send Test Message"));
    QFont designFont = font(); // the design's geometry was drawn for an 8-point dialog font
    designFont.setPointSize(8);
    setFont(designFont);
    setFixedSize(px(kWidthTwips), px(kHeightTwips));

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
    place(label(this, QStringLiteral("Message"), "Label1"), kMessageMargin, 120, 3000, 255);
    m_composer = new QTextEdit(this);
    m_composer->setObjectName(QStringLiteral("ColorTextBox"));
    m_composer->setDocument(&m_editor.document());
    m_editor.document().setDefaultFont(font());
    // Pasted text takes the chosen font and colour instead of bringing formats of its own.
    m_composer->setAcceptRichText(false);
    m_composer->setTabChangesFocus(true);
    place(m_composer, kMessageMargin, 390, kFullWidth, 1530);

    m_unsendable = label(this, QString(), "Unsendable");
    m_unsendable->setStyleSheet(QStringLiteral("color: #b00; font-weight: bold"));
    place(m_unsendable, kMessageMargin, 1950, kFullWidth, 255);

    for (const messagelayout::ListColumn &column : kTestMessageColumns) {
        auto *heading = label(this, QString::fromLatin1(column.heading), column.headingName);
        auto *list = new QListWidget(this);
        list->setObjectName(QLatin1String(column.name));
        list->setAccessibleName(QString::fromLatin1(column.heading));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        m_lists[size_t(column.attribute)] = list;
        m_headings[size_t(column.attribute)] = heading;
    }
    placeLists();
    QLabel *colorHeading = m_headings[size_t(Attribute::Color)];
    colorHeading->installEventFilter(this);
    colorHeading->setToolTip(QStringLiteral(
        "Double-click to format only the selected text (underlined while on) or the whole text"));
    place(label(this, QStringLiteral("Timeout"), "Label10"), hx(kTimeoutLeft), kHeadingTop,
          hw(kTimeoutWidth), 255);
    m_timeout = new QLineEdit(this);
    m_timeout->setObjectName(QStringLiteral("Timeout"));
    m_timeout->setAccessibleName(QStringLiteral("Timeout"));
    place(m_timeout, hx(kTimeoutLeft), kListTop, hw(kTimeoutWidth), 315);

    constexpr int rowA = 5220;
    place(label(this, QStringLiteral("Message ID"), "Label11"), kMessageMargin, rowA + 45, 960,
          255);
    m_msgID = combo(this, "MsgID");
    m_msgID->addItems(vocab::messageIdEntries());
    place(m_msgID, 1680, rowA, 780, 315);
    m_msgPri = combo(this, "MsgPri");
    m_msgPri->addItems(vocab::priorityEntries());
    place(m_msgPri, 2700, rowA, 1440, 315);
    m_saveSettings = new QCheckBox(QStringLiteral("Save changes to Priority"), this);
    m_saveSettings->setObjectName(QStringLiteral("SaveSettings"));
    place(m_saveSettings, 4320, rowA, 2700, 315);
    m_timeFormatHeading = label(this, QStringLiteral("Time Format"), "Label8");
    place(m_timeFormatHeading, 7380, rowA + 45, 1200, 255);
    m_timeFormat = combo(this, "TimeFormat");
    m_timeFormatHeading->setBuddy(m_timeFormat);
    place(m_timeFormat, 8580, rowA, 2100, 315);
    m_insertTime = button(this, QStringLiteral("Insert Time"), "InsertTime");
    place(m_insertTime, 10800, rowA - 30, 1500, 375);

    constexpr int rowB = 5760;
    m_dateTime = label(this, QString(), "DateTime");
    m_dateTime->setToolTip(QStringLiteral("Set Computer Clock to change time"));
    place(m_dateTime, kMessageMargin, rowB + 60, 3300, 255);
    m_setTime = button(this, QStringLiteral("Set LED Sign Time"), "SetTime");
    place(m_setTime, 4080, rowB, 2200, 375);
    place(label(this, QStringLiteral("Message on Sign"), "Label12"), 6600, rowB + 60, 1500, 255);
    m_defaultMessage = new QPlainTextEdit(this);
    m_defaultMessage->setObjectName(QStringLiteral("defaultMessage"));
    m_defaultMessage->setReadOnly(true);
    place(m_defaultMessage, 8160, rowB, kMessageMargin + kFullWidth - 8160, 600);

    constexpr int rowC = 6480;
    place(label(this, QStringLiteral("Command"), "Label13"), kMessageMargin, rowC + 45, 900, 255);
    m_test = new QLineEdit(this);
    m_test->setObjectName(QStringLiteral("Test"));
    m_test->setToolTip(QStringLiteral("Double-click to send this command as it stands"));
    m_test->installEventFilter(this);
    place(m_test, 1560, rowC, kFullWidth - 900, 315);

    constexpr int rowD = 6900;
    m_upload = button(this, QStringLiteral("Send Message to Sign"), "Upload");
    place(m_upload, kMessageMargin, rowD, 2400, 420);
    m_download = button(this, QString(), "Download");
    place(m_download, 3180, rowD, 2400, 420);
    m_exit = button(this, QStringLiteral("Exit"), "Exit");
    place(m_exit, kMessageMargin + kFullWidth - 1500, rowD, 1500, 420);

    m_ack = label(this, QString(), "Ack");
    m_ack->setStyleSheet(QStringLiteral("color: #0645ad; font-weight: bold"));
    place(m_ack, kMessageMargin, 7440, kFullWidth, 285);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("Progress"));
    m_progress->setTextVisible(false);
    m_progress->setMaximum(TestMessageState::kProgressEnd);
    m_progress->setVisible(false);
    place(m_progress, kMessageMargin, 7830, kFullWidth, 240);
}

void TestMessageDialog::connectControls()
{
    using editors::TestMessageEditor;
    auto &e = m_editor;
    connect(&e, &TestMessageEditor::profileApplied, this, &TestMessageDialog::fillLists);
    connect(&e, &TestMessageEditor::stateChanged, this, &TestMessageDialog::refresh);
    connect(&e, &TestMessageEditor::messageRequested, this, &TestMessageDialog::showMessage,
            Qt::QueuedConnection);

    for (const messagelayout::ListColumn &column : kTestMessageColumns) {
        const Attribute attribute = column.attribute;
        connect(m_lists[size_t(attribute)], &QListWidget::currentRowChanged, this,
                [this, attribute](int row) { m_editor.listClick(attribute, row); });
    }
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
    connect(m_upload, &QPushButton::clicked, &e, &TestMessageEditor::upload);
    connect(m_download, &QPushButton::clicked, &e, &TestMessageEditor::download);
    connect(m_setTime, &QPushButton::clicked, &e, &TestMessageEditor::setSignClock);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
}

bool TestMessageDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_headings[size_t(Attribute::Color)]) {
            m_editor.toggleSelectionOnly();
            return true;
        }
        if (watched == m_test) {
            m_editor.sendCommandText();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TestMessageDialog::fillLists()
{
    const TestMessageState &s = m_editor.state();
    for (const messagelayout::ListColumn &column : kTestMessageColumns) {
        QListWidget *list = m_lists[size_t(column.attribute)];
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(vocab::toStringList(s.profile.vocabulary(column.attribute)));
    }
    {
        const QSignalBlocker block(m_timeFormat);
        m_timeFormat->clear();
        m_timeFormat->addItems(s.timeFormats);
        m_timeFormat->setCurrentIndex(s.timeFormat);
    }
    applyLayout();
}

void TestMessageDialog::applyLayout()
{
    const vocab::TestMessageProfile &p = m_editor.state().profile;
    placeLists();
    m_timeFormatHeading->setVisible(p.timeControlsVisible);
    m_timeFormat->setVisible(p.timeControlsVisible);
    m_insertTime->setVisible(p.timeControlsVisible);
    m_lists[size_t(Attribute::Speed)]->setEnabled(p.speedAndAlignmentEnabled);
    m_lists[size_t(Attribute::Alignment)]->setEnabled(p.speedAndAlignmentEnabled);
}

void TestMessageDialog::placeLists()
{
    const bool vx903 = m_editor.state().profile.vx903;
    for (const messagelayout::ListColumn &column : kTestMessageColumns) {
        const auto [headingLeft, headingWidth] = messagelayout::headingSpan(column, vx903);
        place(m_headings[size_t(column.attribute)], hx(headingLeft), kHeadingTop,
              hw(headingWidth), 255);
        const auto [left, width] = messagelayout::listSpan(column, vx903);
        place(m_lists[size_t(column.attribute)], hx(left), kListTop, hw(width), kListHeight);
    }
}

void TestMessageDialog::refresh()
{
    const TestMessageState &s = m_editor.state();
    for (const messagelayout::ListColumn &column : kTestMessageColumns) {
        QListWidget *list = m_lists[size_t(column.attribute)];
        const int code = s.code(column.attribute);
        if (list->currentRow() != code) {
            const QSignalBlocker block(list);
            list->setCurrentRow(code);
            if (code < 0)
                list->clearSelection();
        }
    }
    setTextIfChanged(m_timeout, s.timeout);
    selectIfChanged(m_msgID, s.messageId);
    selectIfChanged(m_msgPri, s.priority);
    selectIfChanged(m_timeFormat, s.timeFormat);
    m_saveSettings->setChecked(s.saveSettings);
    QLabel *colorHeading = m_headings[size_t(Attribute::Color)];
    if (colorHeading->font().underline() != s.selectionOnly) {
        QFont f = colorHeading->font();
        f.setUnderline(s.selectionOnly);
        colorHeading->setFont(f);
    }

    if (s.test.size() <= kLongCommandChars || m_test->hasFocus())
        showCommand();
    else if (m_test->text() != s.test)
        m_commandShow.start();
    m_unsendable->setText(s.unsendable);
    if (m_defaultMessage->toPlainText() != s.defaultMessage)
        m_defaultMessage->setPlainText(s.defaultMessage);
    m_ack->setText(s.ack);
    m_dateTime->setText(s.dateTime);
    m_progress->setValue(qMin(s.progress, TestMessageState::kProgressEnd));
    m_progress->setVisible(s.progressVisible);

    m_download->setText(s.downloadCaption);
    m_download->setEnabled(s.downloadEnabled);
    m_upload->setText(s.uploadCaption);
    m_upload->setEnabled(s.uploadEnabled);
    m_setTime->setEnabled(s.setTimeEnabled);
    syncComposerCursor();
}

void TestMessageDialog::showCommand()
{
    m_commandShow.stop();
    setTextIfChanged(m_test, m_editor.state().test);
}

// The editor moves the composer's caret (to the end after each build) and sets the format
// typed next; the control's own cursor follows.
void TestMessageDialog::syncComposerCursor()
{
    const QTextCursor &wanted = m_editor.composerCursor();
    const QTextCursor shown = m_composer->textCursor();
    if (shown.position() == wanted.position() && shown.anchor() == wanted.anchor()
        && shown.charFormat() == wanted.charFormat())
        return;
    const QScopedValueRollback syncing(m_syncing, true);
    if (!m_inTextChange) {
        m_composer->setTextCursor(wanted);
        return;
    }
    // Replacing the control's cursor while it is inserting would pull it from under the
    // insertion; a build leaves the caret at the end, so moving it there in place will do.
    if (shown.position() != wanted.position() || shown.hasSelection())
        m_composer->moveCursor(QTextCursor::End);
    m_composer->setCurrentCharFormat(wanted.charFormat());
}

void TestMessageDialog::showMessage(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
    box.exec();
}

} // namespace tavrin::ui
