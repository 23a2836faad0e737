#pragma once

#include "MessageDialog.h"

#include "TestMessageEditor.h"

#include <QTimer>

#include <chrono>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;

namespace tavrin::core {
class MainController;
}

namespace tavrin::ui {

// "Send Test Message": composes a message in sign fonts and colours and sends it under a
// message ID with one priority's settings. Binds its controls to the editor's state and
// forwards the operator's actions to it; the composer shows the editor's document.
class TestMessageDialog : public MessageDialog
{
    Q_OBJECT

public:
    static constexpr int kWidthTwips = 14520;
    static constexpr int kHeightTwips = 8280;
    // Laying out and painting a line of thousands of characters takes milliseconds, so a long
    // command is shown in Test once typing pauses this long; a short one at once.
    static constexpr int kLongCommandChars = 2000;
    static constexpr std::chrono::milliseconds kLongCommandPause { 250 };

    explicit TestMessageDialog(core::MainController &main, QWidget *parent = nullptr);
    ~TestMessageDialog() override;

    editors::TestMessageEditor &editor() { return m_editor; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMessageSettings();
    void connectControls();
    void fillLists();
    void refresh();
    void syncComposerCursor();
    void showCommand();

    editors::TestMessageEditor m_editor;
    bool m_syncing = false; // the window is moving the composer's caret itself
    bool m_inTextChange = false; // inside the composer's own edit
    QTimer m_commandShow;

    QTextEdit *m_composer = nullptr;
    QLineEdit *m_timeout = nullptr;
    QComboBox *m_msgID = nullptr;
    QComboBox *m_msgPri = nullptr;
    QCheckBox *m_saveSettings = nullptr;
    QLabel *m_timeFormatHeading = nullptr;
    QComboBox *m_timeFormat = nullptr;
    QPushButton *m_insertTime = nullptr;
    QPlainTextEdit *m_defaultMessage = nullptr;
    QLineEdit *m_test = nullptr;
};

} // namespace tavrin::ui
