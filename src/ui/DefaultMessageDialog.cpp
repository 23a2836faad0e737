#include "DefaultMessageDialog.h"

#include "Controls.h"
#include "Twips.h"

#include "MessageCodes.h"

#include "MainController.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextEdit>

namespace tavrin::ui {

using editors::DefaultMessageState;
using vocab::Attribute;

namespace {

constexpr int kFullWidth = 10950;

editors::MainWindowView viewOf(const core::MainController &main)
{
    const core::MainState &s = main.state();
    return { s.modelNumber, s.modelLabel, s.portIndex };
}

// The text box shows line breaks as LF; the record keeps them as CR LF.
QString shownText(const QString &message)
{
    QString text = message;
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

} // namespace

DefaultMessageDialog::DefaultMessageDialog(core::MainController &main, QWidget *parent)
    : MessageDialog(
        { "TavrinDefaultMessage", "Setup Default Message", kWidthTwips, kHeightTwips, kFullWidth },
        messagelayout::kDefaultMessageColumns, parent)
    , m_editor(main.defaultMessage(), viewOf(main))
{
    buildControls();
    connectControls();
    m_editor.open();
    refresh();
}

DefaultMessageDialog::~DefaultMessageDialog() = default;

void DefaultMessageDialog::buildControls()
{
    m_message = buildMessageBox(QStringLiteral("Default Message"), "defaultMessage", 1200);
    buildLists(1920);
    buildTimeControls();
    buildClock(5460);
    buildCommandBox(5985, "Label10")->setReadOnly(true);
    buildSendButtons(6450);
    buildAckAndProgress(6990);
}

// The time format, Insert Time, and the sign's time display on idle.
void DefaultMessageDialog::buildTimeControls()
{
    m_timeFormatHeading = label(this, QStringLiteral("Time Format"), "Label8");
    place(m_timeFormatHeading, kMessageMargin, 4950, 1200, 255);
    m_timeFormat = new QComboBox(this);
    m_timeFormat->setObjectName(QStringLiteral("TimeFormat"));
    m_timeFormatHeading->setBuddy(m_timeFormat);
    place(m_timeFormat, 1860, 4890, 2100, 315);
    m_insertTime = button(this, QStringLiteral("Insert Time"), "InsertTime");
    place(m_insertTime, 4080, 4860, 1500, 375);
    m_or = label(this, QStringLiteral("OR"), "Label9");
    m_or->setAlignment(Qt::AlignCenter);
    place(m_or, 5700, 4920, 420, 255);
    m_timeOnIdle = button(this, QStringLiteral("Time Display on Idle"), "TimeOnIdle");
    place(m_timeOnIdle, 6240, 4860, 2200, 375);
    m_timeDisplayStatus = label(this, QString(), "TimeDisplayStatus");
    emphasize(m_timeDisplayStatus);
    place(m_timeDisplayStatus, 8560, 4920, 1200, 255);
}

void DefaultMessageDialog::connectControls()
{
    using editors::DefaultMessageEditor;
    auto &e = m_editor;
    connectEditor(e);
    connect(&e, &DefaultMessageEditor::profileApplied, this, &DefaultMessageDialog::fillLists);
    connect(&e, &DefaultMessageEditor::stateChanged, this, &DefaultMessageDialog::refresh);

    connect(m_timeFormat, &QComboBox::activated, &e, &DefaultMessageEditor::chooseTimeFormat);
    connect(m_message, &QTextEdit::textChanged, this,
            [this] { m_editor.setMessageText(m_message->toPlainText()); });
    connect(m_insertTime, &QPushButton::clicked, &e, &DefaultMessageEditor::insertTime);
    connect(m_timeOnIdle, &QPushButton::clicked, &e, &DefaultMessageEditor::showTimeOnIdle);
}

void DefaultMessageDialog::fillLists()
{
    const vocab::DefaultMessageProfile &p = m_editor.state().profile;
    MessageDialog::fillLists(p, p.vx903);
    m_insertTime->setVisible(p.insertTimeVisible.value_or(true));
    m_timeFormatHeading->setVisible(p.timeFormatVisible.value_or(true));
    m_timeFormat->setVisible(p.timeFormatVisible.value_or(true));
    const bool idleVisible = p.timeOnIdleVisible.value_or(true);
    m_or->setVisible(idleVisible);
    m_timeOnIdle->setVisible(idleVisible);
    m_timeDisplayStatus->setVisible(idleVisible);
}

void DefaultMessageDialog::refresh()
{
    const DefaultMessageState &s = m_editor.state();
    showCodes(s);
    list(Attribute::Font)->setEnabled(s.fontListEnabled);
    list(Attribute::Style)->setEnabled(s.styleListEnabled);
    list(Attribute::Pause)->setEnabled(s.pauseListEnabled);
    const bool speedAndAlignment = !s.profile.speedAndAlignmentDisabled;
    list(Attribute::Speed)->setEnabled(speedAndAlignment);
    list(Attribute::Alignment)->setEnabled(speedAndAlignment);

    if (m_timeFormat->count() != s.timeFormats.size()) {
        const QSignalBlocker block(m_timeFormat);
        m_timeFormat->clear();
        m_timeFormat->addItems(s.timeFormats);
    }
    selectIfChanged(m_timeFormat, s.timeFormat);

    const QString text = shownText(s.message);
    if (m_message->toPlainText() != text) {
        const QSignalBlocker block(m_message);
        replaceTextUndoably(m_message, text);
    }
    QTextOption option = m_message->document()->defaultTextOption();
    if (option.alignment() != protocol::textAlignment(s.messageAlignment)) {
        option.setAlignment(protocol::textAlignment(s.messageAlignment));
        m_message->document()->setDefaultTextOption(option);
    }

    commandBox()->setText(s.test);
    m_timeDisplayStatus->setText(s.timeDisplayStatus);
    showShared(s);
}

void DefaultMessageDialog::done(int result)
{
    if (!m_unloaded) {
        m_unloaded = true;
        m_editor.close();
    }
    MessageDialog::done(result);
}

} // namespace tavrin::ui
