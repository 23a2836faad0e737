#include "DefaultMessageDialog.h"

#include "Controls.h"
#include "MessageWindowLayout.h"
#include "Twips.h"

#include "MessageCodes.h"

#include "MainController.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextEdit>

namespace tavrin::ui {

using editors::DefaultMessageState;
using vocab::Attribute;

namespace {

constexpr int kFullWidth = 10950;

constexpr int kHeadingTop = 1920;
constexpr int kListTop = 2190;
constexpr int kListHeight = 2520;

using messagelayout::kDefaultMessageColumns;

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
    : QDialog(parent)
    , m_editor(main.defaultMessage(), viewOf(main))
{
    setObjectName(QStringLiteral("TavrinDefaultMessage"));
    setWindowTitle(QStringLiteral("Setup Default Message"));
    QFont designFont = font(); // the design's geometry was drawn for an 8-point dialog font
    designFont.setPointSize(8);
    setFont(designFont);
    setFixedSize(px(kWidthTwips), px(kHeightTwips));

    buildControls();
    connectControls();
    m_editor.open();
    refresh();
}

DefaultMessageDialog::~DefaultMessageDialog() = default;

void DefaultMessageDialog::buildControls()
{
    place(label(this, QStringLiteral("Default Message"), "Label1"), 660, 120, 3000, 255);
    m_message = new QTextEdit(this);
    m_message->setObjectName(QStringLiteral("defaultMessage"));
    m_message->setAcceptRichText(false);
    m_message->setTabChangesFocus(true);
    place(m_message, kMessageMargin, 390, kFullWidth, 1200);

    m_unsendable = label(this, QString(), "Unsendable");
    m_unsendable->setStyleSheet(QStringLiteral("color: #b00; font-weight: bold"));
    place(m_unsendable, kMessageMargin, 1620, kFullWidth, 255);

    for (const messagelayout::ListColumn &column : kDefaultMessageColumns) {
        auto *heading = label(this, QString::fromLatin1(column.heading), column.headingName);
        auto *list = new QListWidget(this);
        list->setObjectName(QLatin1String(column.name));
        list->setAccessibleName(QString::fromLatin1(column.heading));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        m_lists[size_t(column.attribute)] = list;
        m_headings[size_t(column.attribute)] = heading;
    }
    placeLists();

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
    m_timeDisplayStatus->setStyleSheet(QStringLiteral("font-weight: bold"));
    place(m_timeDisplayStatus, 8560, 4920, 1200, 255);

    m_dateTime = label(this, QString(), "DateTime");
    m_dateTime->setToolTip(QStringLiteral("Set Computer Clock to change time"));
    place(m_dateTime, kMessageMargin, 5520, 3300, 255);
    m_setTime = button(this, QStringLiteral("Set LED Sign Time"), "SetTime");
    place(m_setTime, 4080, 5460, 2200, 375);

    place(label(this, QStringLiteral("Command"), "Label10"), kMessageMargin, 6030, 900, 255);
    m_test = new QLineEdit(this);
    m_test->setObjectName(QStringLiteral("Test"));
    m_test->setReadOnly(true);
    place(m_test, 1560, 5985, kFullWidth - 900, 315);

    m_upload = button(this, QStringLiteral("Upload to Sign"), "Upload");
    place(m_upload, kMessageMargin, 6450, 2400, 420);
    m_download = button(this, QStringLiteral("Download from Sign"), "Download");
    place(m_download, 3180, 6450, 2400, 420);
    m_exit = button(this, QStringLiteral("Exit"), "Exit");
    place(m_exit, kMessageMargin + kFullWidth - 1500, 6450, 1500, 420);

    m_ack = label(this, QString(), "Ack");
    m_ack->setStyleSheet(QStringLiteral("color: #0645ad; font-weight: bold"));
    place(m_ack, kMessageMargin, 6990, kFullWidth, 285);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("Progress"));
    m_progress->setTextVisible(false);
    m_progress->setMaximum(DefaultMessageState::kProgressEnd);
    place(m_progress, kMessageMargin, 7380, kFullWidth, 240);
}

void DefaultMessageDialog::connectControls()
{
    auto &e = m_editor;
    connect(&e, &editors::DefaultMessageEditor::profileApplied, this,
            &DefaultMessageDialog::fillLists);
    connect(&e, &editors::DefaultMessageEditor::stateChanged, this, &DefaultMessageDialog::refresh);
    // Queued: a port failure while the window opens is shown once it is up.
    connect(&e, &editors::DefaultMessageEditor::messageRequested, this,
            &DefaultMessageDialog::showMessage, Qt::QueuedConnection);

    for (const messagelayout::ListColumn &column : kDefaultMessageColumns) {
        const Attribute attribute = column.attribute;
        connect(m_lists[size_t(attribute)], &QListWidget::currentRowChanged, this,
                [this, attribute](int row) { m_editor.listClick(attribute, row); });
    }
    connect(m_timeFormat, &QComboBox::activated, &e,
            &editors::DefaultMessageEditor::chooseTimeFormat);
    connect(m_message, &QTextEdit::textChanged, this,
            [this] { m_editor.setMessageText(m_message->toPlainText()); });
    connect(m_insertTime, &QPushButton::clicked, &e,
            &editors::DefaultMessageEditor::insertTime);
    connect(m_timeOnIdle, &QPushButton::clicked, &e,
            &editors::DefaultMessageEditor::showTimeOnIdle);
    connect(m_setTime, &QPushButton::clicked, &e, &editors::DefaultMessageEditor::setSignClock);
    connect(m_upload, &QPushButton::clicked, &e, &editors::DefaultMessageEditor::upload);
    connect(m_download, &QPushButton::clicked, &e, &editors::DefaultMessageEditor::download);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
}

void DefaultMessageDialog::fillLists()
{
    const DefaultMessageState &s = m_editor.state();
    for (const messagelayout::ListColumn &column : kDefaultMessageColumns) {
        QListWidget *list = m_lists[size_t(column.attribute)];
        const QSignalBlocker block(list);
        list->clear();
        list->addItems(vocab::toStringList(s.profile.vocabulary(column.attribute)));
    }
    applyLayout();
}

void DefaultMessageDialog::applyLayout()
{
    const vocab::DefaultMessageProfile &p = m_editor.state().profile;
    placeLists();

    m_insertTime->setVisible(p.insertTimeVisible.value_or(true));
    m_timeFormatHeading->setVisible(p.timeFormatVisible.value_or(true));
    m_timeFormat->setVisible(p.timeFormatVisible.value_or(true));
    const bool idleVisible = p.timeOnIdleVisible.value_or(true);
    m_or->setVisible(idleVisible);
    m_timeOnIdle->setVisible(idleVisible);
    m_timeDisplayStatus->setVisible(idleVisible);
}

void DefaultMessageDialog::placeLists()
{
    const bool vx903 = m_editor.state().profile.vx903;
    for (const messagelayout::ListColumn &column : kDefaultMessageColumns) {
        const auto [headingLeft, headingWidth] = messagelayout::headingSpan(column, vx903);
        place(m_headings[size_t(column.attribute)], hx(headingLeft), kHeadingTop,
              hw(headingWidth), 255);
        const auto [left, width] = messagelayout::listSpan(column, vx903);
        place(m_lists[size_t(column.attribute)], hx(left), kListTop, hw(width), kListHeight);
    }
}

void DefaultMessageDialog::refresh()
{
    const DefaultMessageState &s = m_editor.state();
    for (const messagelayout::ListColumn &column : kDefaultMessageColumns) {
        QListWidget *list = m_lists[size_t(column.attribute)];
        const int code = s.code(column.attribute);
        if (list->currentRow() != code) {
            const QSignalBlocker block(list);
            list->setCurrentRow(code);
            if (code < 0)
                list->clearSelection();
        }
    }
    m_lists[size_t(Attribute::Font)]->setEnabled(s.fontListEnabled);
    m_lists[size_t(Attribute::Style)]->setEnabled(s.styleListEnabled);
    m_lists[size_t(Attribute::Pause)]->setEnabled(s.pauseListEnabled);
    const bool speedAndAlignment = !s.profile.speedAndAlignmentDisabled;
    m_lists[size_t(Attribute::Speed)]->setEnabled(speedAndAlignment);
    m_lists[size_t(Attribute::Alignment)]->setEnabled(speedAndAlignment);

    if (m_timeFormat->count() != s.timeFormats.size()) {
        const QSignalBlocker block(m_timeFormat);
        m_timeFormat->clear();
        m_timeFormat->addItems(s.timeFormats);
    }
    selectIfChanged(m_timeFormat, s.timeFormat);

    const QString text = shownText(s.message);
    if (m_message->toPlainText() != text) {
        const QSignalBlocker block(m_message);
        m_message->setPlainText(text);
        m_message->moveCursor(QTextCursor::End);
    }
    QTextOption option = m_message->document()->defaultTextOption();
    if (option.alignment() != editors::textAlignment(s.messageAlignment)) {
        option.setAlignment(editors::textAlignment(s.messageAlignment));
        m_message->document()->setDefaultTextOption(option);
    }
    m_unsendable->setText(s.unsendable);

    m_test->setText(s.test);
    m_ack->setText(s.ack);
    m_timeDisplayStatus->setText(s.timeDisplayStatus);
    m_dateTime->setText(s.dateTime);
    m_progress->setValue(qMin(s.progress, DefaultMessageState::kProgressEnd));
    m_progress->setVisible(s.progressVisible);

    m_download->setText(s.downloadCaption);
    m_download->setEnabled(s.downloadEnabled);
    m_upload->setText(s.uploadCaption);
    m_upload->setEnabled(s.uploadEnabled);
    m_setTime->setEnabled(s.setTimeEnabled);
}

void DefaultMessageDialog::showMessage(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
    box.exec();
}

void DefaultMessageDialog::done(int result)
{
    if (!m_unloaded) {
        m_unloaded = true;
        m_editor.close();
    }
    QDialog::done(result);
}

} // namespace tavrin::ui
