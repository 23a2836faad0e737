#pragma once

#include "MessageWindowLayout.h"

#include "MessageWindowController.h"
#include "ModelProfile.h"

#include <QDialog>

#include <array>
#include <span>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTextEdit;

namespace tavrin::ui {

// What the two message windows have alike: their design font and size, the message box, the
// attribute lists, the clock, the command box, the send buttons, the Ack label and the
// progress bar, bound to the editor's shared part. Each window creates these in its own
// design order (which tabbing follows), with its own controls between them.
class MessageDialog : public QDialog
{
    Q_OBJECT

public:
    ~MessageDialog() override;

protected:
    struct Design
    {
        const char *objectName;
        const char *title;
        int width; // the window, in twips
        int height;
        int contentWidth; // from the left margin (kMessageMargin) to the right one
    };
    MessageDialog(const Design &design, std::span<const messagelayout::ListColumn> columns,
                  QWidget *parent);

    // The caption, the message box and, below it, the unsendable-character warning.
    QTextEdit *buildMessageBox(const QString &caption, const char *name, int height);
    // A heading and a list per column, the lists a fixed distance below their headings.
    void buildLists(int headingTop);
    void buildClock(int top); // the computer's clock and Set LED Sign Time
    QLineEdit *buildCommandBox(int top, const char *labelName);
    void buildSendButtons(int top); // Upload, Download and Exit
    void buildAckAndProgress(int top);

    // Connects what is built here to the editor; the window connects its own controls.
    void connectEditor(editors::MessageWindowController &editor);
    // Fills the lists for the model and places them.
    void fillLists(const vocab::AttributeLists &lists, bool vx903);
    // Selects each list's code, or nothing for -1.
    template<typename State> void showCodes(const State &s)
    {
        for (const messagelayout::ListColumn &column : m_columns)
            showCode(column.attribute, s.code(column.attribute));
    }
    // What the shared part of the state says.
    void showShared(const editors::MessageWindowState &s);

    QListWidget *list(vocab::Attribute attribute) const;
    QLabel *heading(vocab::Attribute attribute) const;
    QLineEdit *commandBox() const { return m_command; }

    // Closed lists take no wheel turns, and a list's press is remembered for its click.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeLists(bool vx903);
    void showCode(vocab::Attribute attribute, int code);
    void showMessage(const QString &title, const QString &text);

    const int m_contentWidth;
    const std::span<const messagelayout::ListColumn> m_columns;
    int m_headingTop = 0;
    int m_rowAtPress = -1; // a list's current row when the mouse went down on it
    std::array<QListWidget *, vocab::kAttributes.size()> m_lists {}; // by vocab::Attribute
    std::array<QLabel *, vocab::kAttributes.size()> m_headings {};
    QLabel *m_unsendable = nullptr;
    QLabel *m_dateTime = nullptr;
    QPushButton *m_setTime = nullptr;
    QLineEdit *m_command = nullptr;
    QPushButton *m_upload = nullptr;
    QPushButton *m_download = nullptr;
    QPushButton *m_exit = nullptr;
    QLabel *m_ack = nullptr;
    QProgressBar *m_progress = nullptr;
};

} // namespace tavrin::ui
