#include "MessageDialog.h"

#include "Controls.h"
#include "Twips.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextEdit>

namespace tavrin::ui {

using vocab::Attribute;

namespace {

constexpr int kListDrop = 270; // from a heading's top to its list's
constexpr int kListHeight = 2520;
constexpr int kLabelHeight = 255;
constexpr int kButtonWidth = 2400;
constexpr int kButtonHeight = 420;
constexpr int kExitWidth = 1500;

} // namespace

MessageDialog::MessageDialog(const Design &design,
                             std::span<const messagelayout::ListColumn> columns, QWidget *parent)
    : QDialog(parent)
    , m_contentWidth(design.contentWidth)
    , m_columns(columns)
{
    setObjectName(QLatin1String(design.objectName));
    setWindowTitle(QLatin1String(design.title));
    QFont designFont = font(); // the design's geometry was drawn for an 8-point dialog font
    designFont.setPointSize(8);
    setFont(designFont);
    setFixedSize(px(design.width), px(design.height));
}

MessageDialog::~MessageDialog() = default;

QTextEdit *MessageDialog::buildMessageBox(const QString &caption, const char *name, int height)
{
    constexpr int top = 390;
    place(label(this, caption, "Label1"), kMessageMargin, 120, 3000, kLabelHeight);
    auto *box = new QTextEdit(this);
    box->setObjectName(QLatin1String(name));
    // Pasted text takes the chosen font and colour instead of bringing formats of its own.
    box->setAcceptRichText(false);
    box->setTabChangesFocus(true);
    place(box, kMessageMargin, top, m_contentWidth, height);

    m_unsendable = label(this, QString(), "Unsendable");
    emphasize(m_unsendable, kWarningColor);
    place(m_unsendable, kMessageMargin, top + height + 30, m_contentWidth, kLabelHeight);
    return box;
}

void MessageDialog::buildLists(int headingTop)
{
    m_headingTop = headingTop;
    for (const messagelayout::ListColumn &column : m_columns) {
        auto *heading = label(this, QString::fromLatin1(column.heading), column.headingName);
        auto *list = new QListWidget(this);
        list->setObjectName(QLatin1String(column.name));
        list->setAccessibleName(QString::fromLatin1(column.heading));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->viewport()->installEventFilter(this);
        m_lists[size_t(column.attribute)] = list;
        m_headings[size_t(column.attribute)] = heading;
    }
    placeLists(false);
}

void MessageDialog::buildClock(int top)
{
    m_dateTime = label(this, QString(), "DateTime");
    m_dateTime->setToolTip(QStringLiteral("Set Computer Clock to change time"));
    place(m_dateTime, kMessageMargin, top + 60, 3300, kLabelHeight);
    m_setTime = button(this, QStringLiteral("Set LED Sign Time"), "SetTime");
    place(m_setTime, 4080, top, 2200, 375);
}

QLineEdit *MessageDialog::buildCommandBox(int top, const char *labelName)
{
    place(label(this, QStringLiteral("Command"), labelName), kMessageMargin, top + 45, 900,
          kLabelHeight);
    m_command = new QLineEdit(this);
    m_command->setObjectName(QStringLiteral("Test"));
    place(m_command, 1560, top, m_contentWidth - 900, 315);
    return m_command;
}

void MessageDialog::buildSendButtons(int top)
{
    // The captions are the state's.
    m_upload = button(this, QString(), "Upload");
    place(m_upload, kMessageMargin, top, kButtonWidth, kButtonHeight);
    m_download = button(this, QString(), "Download");
    place(m_download, 3180, top, kButtonWidth, kButtonHeight);
    m_exit = button(this, QStringLiteral("Exit"), "Exit");
    place(m_exit, kMessageMargin + m_contentWidth - kExitWidth, top, kExitWidth, kButtonHeight);
}

void MessageDialog::buildAckAndProgress(int top)
{
    m_ack = label(this, QString(), "Ack");
    emphasize(m_ack, kNoticeColor);
    place(m_ack, kMessageMargin, top, m_contentWidth, 285);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("Progress"));
    m_progress->setTextVisible(false);
    m_progress->setMaximum(editors::PortActivity::kProgressEnd);
    m_progress->setVisible(false);
    place(m_progress, kMessageMargin, top + 390, m_contentWidth, 240);
}

void MessageDialog::connectEditor(editors::MessageWindowController &editor)
{
    using editors::MessageWindowController;
    // Enter in a text box must not press a button: none of these windows has a default one.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setAutoDefault(false);
    // A wheel turn over a closed list is no choice: a pointer passing over "Time Format" would
    // replace the message.
    for (QComboBox *box : findChildren<QComboBox *>()) {
        box->setFocusPolicy(Qt::StrongFocus);
        box->installEventFilter(this);
    }
    // Queued: a port failure while the window opens is shown once it is up.
    connect(&editor, &MessageWindowController::messageRequested, this, &MessageDialog::showMessage,
            Qt::QueuedConnection);
    for (const messagelayout::ListColumn &column : m_columns) {
        const Attribute attribute = column.attribute;
        QListWidget *shown = list(attribute);
        connect(shown, &QListWidget::currentRowChanged, &editor,
                [&editor, attribute](int row) { editor.listClick(attribute, row); });
        // A click on the entry already chosen is a choice too, which the row change misses.
        connect(shown, &QListWidget::clicked, &editor,
                [this, &editor, attribute](const QModelIndex &index) {
                    if (index.row() == m_rowAtPress)
                        editor.listClick(attribute, index.row());
                });
    }
    connect(m_setTime, &QPushButton::clicked, &editor, &MessageWindowController::setSignClock);
    connect(m_upload, &QPushButton::clicked, &editor, &MessageWindowController::upload);
    connect(m_download, &QPushButton::clicked, &editor, &MessageWindowController::download);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
}

void MessageDialog::fillLists(const vocab::AttributeLists &lists, bool vx903)
{
    for (const messagelayout::ListColumn &column : m_columns) {
        QListWidget *shown = list(column.attribute);
        const QSignalBlocker block(shown);
        shown->clear();
        shown->addItems(vocab::toStringList(lists.vocabulary(column.attribute)));
    }
    placeLists(vx903);
}

void MessageDialog::placeLists(bool vx903)
{
    for (const messagelayout::ListColumn &column : m_columns) {
        const auto [headingLeft, headingWidth] = messagelayout::headingSpan(column, vx903);
        place(heading(column.attribute), hx(headingLeft), m_headingTop, hw(headingWidth),
              kLabelHeight);
        const auto [left, width] = messagelayout::listSpan(column, vx903);
        place(list(column.attribute), hx(left), m_headingTop + kListDrop, hw(width), kListHeight);
    }
}

void MessageDialog::showCode(Attribute attribute, int code)
{
    QListWidget *shown = list(attribute);
    if (shown->currentRow() != code) {
        const QSignalBlocker block(shown);
        shown->setCurrentRow(code);
        if (code < 0)
            shown->clearSelection();
    }
}

void MessageDialog::showShared(const editors::MessageWindowState &s)
{
    m_unsendable->setText(s.unsendable);
    m_ack->setText(s.ack);
    m_dateTime->setText(s.dateTime);
    m_progress->setValue(qMin(s.progress, editors::PortActivity::kProgressEnd));
    m_progress->setVisible(s.progressVisible);

    m_download->setText(s.downloadCaption);
    m_download->setEnabled(s.downloadEnabled);
    m_upload->setText(s.uploadCaption);
    m_upload->setEnabled(s.uploadEnabled);
    m_setTime->setEnabled(s.setTimeEnabled);
}

bool MessageDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel) {
        if (auto *box = qobject_cast<QComboBox *>(watched); box && !box->view()->isVisible())
            return true;
    } else if (event->type() == QEvent::MouseButtonPress) {
        for (QListWidget *shown : m_lists) {
            if (shown && watched == shown->viewport())
                m_rowAtPress = shown->currentRow();
        }
    }
    return QDialog::eventFilter(watched, event);
}

QListWidget *MessageDialog::list(Attribute attribute) const
{
    return m_lists[size_t(attribute)];
}

QLabel *MessageDialog::heading(Attribute attribute) const
{
    return m_headings[size_t(attribute)];
}

void MessageDialog::showMessage(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
    box.exec();
}

} // namespace tavrin::ui
