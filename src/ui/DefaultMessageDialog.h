#pragma once

#include "MessageDialog.h"

#include "DefaultMessageEditor.h"

class QComboBox;

namespace tavrin::core {
class MainController;
}

namespace tavrin::ui {

// "Setup Default Message": the sign's idle message with its attributes and time display.
// Binds its controls to the editor's state and forwards the operator's actions to it.
class DefaultMessageDialog : public MessageDialog
{
    Q_OBJECT

public:
    static constexpr int kWidthTwips = 12270;
    static constexpr int kHeightTwips = 7860;

    explicit DefaultMessageDialog(core::MainController &main, QWidget *parent = nullptr);
    ~DefaultMessageDialog() override;

    editors::DefaultMessageEditor &editor() { return m_editor; }

    // Closing by any way stores the message in the main window first.
    void done(int result) override;

private:
    void buildControls();
    void buildTimeControls();
    void connectControls();
    void fillLists();
    void refresh();

    editors::DefaultMessageEditor m_editor;
    bool m_unloaded = false;

    QTextEdit *m_message = nullptr;
    QComboBox *m_timeFormat = nullptr;
    QLabel *m_timeFormatHeading = nullptr;
    QPushButton *m_insertTime = nullptr;
    QLabel *m_or = nullptr;
    QPushButton *m_timeOnIdle = nullptr;
    QLabel *m_timeDisplayStatus = nullptr;
};

} // namespace tavrin::ui
