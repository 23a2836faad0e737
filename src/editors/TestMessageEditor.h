#pragma once

#include "MessageWindowController.h"
#include "TestMessageState.h"

#include <QTextCursor>
#include <QTextDocument>

#include <chrono>

namespace tavrin::core {
class MainController;
}

namespace tavrin::editors {

using namespace std::chrono_literals;

// The test-message window's behaviour without widgets. It owns the composer's document (the
// window's rich-text control shows it) and the window's state, and through its base its
// timers and its own serial link; it reads the main window's priority rows and, while "Save
// changes to Priority" is ticked, writes choices back to them through the main controller.
class TestMessageEditor : public MessageWindowController
{
    Q_OBJECT

public:
    static constexpr auto kCloseDelay = 500ms; // from the send to the port's close

    explicit TestMessageEditor(core::MainController &main, QObject *parent = nullptr);
    ~TestMessageEditor() override;

    const TestMessageState &state() const { return m_state; }
    QTextDocument &document() { return m_document; }
    // The operator's selection (normally a caret); list choices in selection-only mode and
    // the composer handler format it, and nothing the editor does moves it.
    const QTextCursor &composerCursor() const { return m_cursor; }
    // The operator moved the caret or selected; the font and colour lists then show what is
    // there. Ignored while the editor edits the document.
    void setComposerCursor(const QTextCursor &cursor);

    // Opening: profile, message IDs, preview colours, priority 0, the tick from the store.
    void open();

    // The operator's choice in fontList, ColorList, StyleList, AlignmentList, SpeedList,
    // PauseList or BeepList, the entry already chosen included; an index the list cannot take
    // is skipped.
    void listClick(vocab::Attribute attribute, int index) override;
    void setTimeoutText(const QString &text);
    void selectMessageId(int index);
    void loadPriority(int index); // loads that priority's row from the main window
    void chooseTimeFormat(int index);
    void setSaveToPriority(bool ticked);
    void toggleSelectionOnly(); // toggles selection-only formatting
    void insertTime();
    // The composer's content changed (typing, pasting, undo); selection is the composer's
    // selection after the change. Changes the editor makes to the document itself, formatting
    // included, are its own and are not handled again.
    void composerEdited(const QTextCursor &selection);
    // The operator edited the command box.
    void setTestText(const QString &text);

    // Builds the message command from the composer and the lists, shows it in Test and
    // returns it. Codes that lead the text move into the header.
    QString buildTestMessage();

    void upload() override;
    void sendCommandText();
    void download() override;

    // A line from the sign while a send runs; it changes what it confirmed, if anything.
    void handleTestReply(const SignAnswer &answer);

protected:
    MessageWindowState &shown() override { return m_state; }
    int portNumber() const override;

private:
    // Only the operator's choices and the loaded priority's values go to the priority row.
    enum class WriteBack { No, Yes };
    void choose(vocab::Attribute attribute, int index, WriteBack writeBack);
    void showCaretAttributes();
    QTextCursor targetOf(const QTextCursor &operatorCursor) const;
    void composerChanged();
    void writeBack(vocab::Attribute attribute, int index);
    void format(vocab::Attribute attribute, int index);
    void applyToTarget(const QTextCharFormat &format);
    void sendMessage(const QString &command);
    void restoreButtons();

    core::MainController &m_main;
    TestMessageState m_state;
    QTextDocument m_document;
    QTextCursor m_cursor;
    bool m_editing = false; // the editor itself is changing the document
};

} // namespace tavrin::editors
