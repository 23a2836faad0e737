#pragma once

#include "MainState.h"

#include <QObject>
#include <QTimer>

#include <chrono>

namespace tavrin::core {

using namespace std::chrono_literals;

// The main window's behaviour without widgets: it owns the window's state, its timers and
// (through its sign commands) the serial link; the window binds its controls to state() and
// forwards the operator's edits and clicks here.
class MainController : public QObject
{
    Q_OBJECT

public:
    static constexpr auto kSearchPortInterval = 400ms;
    static constexpr auto kComCloseDelay = 400ms;
    static constexpr auto kFactoryDefDelay = 500ms;
    static constexpr auto kTextClearDelay = 5000ms;
    static constexpr auto kUploadInterval = 500ms;
    static constexpr int kShownHeightTwips = 9700;
    static constexpr int kHiddenHeightTwips = 5750;

    explicit MainController(QObject *parent = nullptr);
    ~MainController() override;

    const MainState &state() const { return m_state; }

    // Start-up and shutdown.
    void Form_Load();
    void Form_Unload();

    // The operator's edits of the configuration controls.
    void setRowCode(int row, vocab::Attribute attribute, int code);
    void setTimeoutText(int row, const QString &text);
    void setCapcode(int link, const QString &text);
    void setLinkPriority(int link, int code);
    void setUserCommand(const QString &text);
    void setPortIndex(int index);
    void PauseP0_Change();
    void PauseP1_Change();

    // Small handlers of the window.
    void ShowPriority_Click();
    void HidePriority_Click();
    void TestBtn_Click();
    void TextClear_Timer();
    void ForceOnID0_Click(bool ticked);

    // Shows a status text in Textout for the TextClear period.
    void showStatus(const QString &text);

    QTimer &searchPortTimer() { return m_searchPort; }
    QTimer &textClearTimer() { return m_textClear; }
    QTimer &comCloseTimer() { return m_comClose; }
    QTimer &factoryDefTimer() { return m_factoryDef; }
    QTimer &uploadTimer() { return m_uploadTimer; }

signals:
    // Any part of state() changed; the window refreshes its controls from it.
    void stateChanged();
    // The attribute lists were rebuilt for another model: the window refills them.
    void profileChanged();
    // The window should take this height (twips) after restoring its normal state.
    void windowHeightRequested(int twips);
    // A message box for the operator: title, text.
    void messageRequested(const QString &title, const QString &text);

private:
    void changed() { emit stateChanged(); }

    MainState m_state;
    QTimer m_searchPort;
    QTimer m_comClose;
    QTimer m_factoryDef;
    QTimer m_textClear;
    QTimer m_uploadTimer;
};

} // namespace tavrin::core
