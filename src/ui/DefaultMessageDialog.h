#pragma once

#include "DefaultMessageEditor.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTextEdit;

namespace tavrin::core {
class MainController;
}

namespace tavrin::ui {

// "Setup Default Message": the sign's idle message with its attributes and time display.
// Binds its controls to the editor's state and forwards the operator's actions to it.
class DefaultMessageDialog : public QDialog
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
    void connectControls();
    void fillLists();
    void refresh();
    void applyLayout();
    void placeLists();
    void showMessage(const QString &title, const QString &text);

    editors::DefaultMessageEditor m_editor;
    bool m_unloaded = false;

    std::array<QListWidget *, editors::DefaultMessageState::kListCount> m_lists {};
    std::array<QLabel *, editors::DefaultMessageState::kListCount> m_headings {};
    QTextEdit *m_message = nullptr;
    QLabel *m_unsendable = nullptr;
    QLineEdit *m_test = nullptr;
    QComboBox *m_timeFormat = nullptr;
    QLabel *m_timeFormatHeading = nullptr;
    QPushButton *m_insertTime = nullptr;
    QLabel *m_or = nullptr;
    QPushButton *m_timeOnIdle = nullptr;
    QLabel *m_timeDisplayStatus = nullptr;
    QPushButton *m_setTime = nullptr;
    QPushButton *m_upload = nullptr;
    QPushButton *m_download = nullptr;
    QPushButton *m_exit = nullptr;
    QLabel *m_ack = nullptr;
    QLabel *m_dateTime = nullptr;
    QProgressBar *m_progress = nullptr;
};

} // namespace tavrin::ui
