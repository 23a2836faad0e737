#pragma once

#include "DefaultMessageState.h"
#include "MessagePort.h"

#include "core/DefaultMessageStore.h"

#include <QObject>
#include <QTimer>

#include <chrono>

namespace tavrin::editors {

using namespace std::chrono_literals;

// What the default-message editor reads from the main window when it opens.
struct MainWindowView
{
    QString modelNumber; // LEDSignModelNumber, handed to the model profile
    QString modelLabel; // caption of LEDSignModel, which decides the date formats
    int portIndex = 0; // ComportsList selection: port number = index + 1
};

// The default-message editor's behaviour without widgets: it owns the window's state, its
// timers and its own serial link; the window binds its controls to state() and forwards
// the operator's choices and clicks here. The record it edits lives in the main window's
// DefaultMessageStore, read when the editor opens and written when it closes.
class DefaultMessageEditor : public QObject
{
    Q_OBJECT

public:
    static constexpr qint16 kComCloseTicks = 10; // the port closes on the eleventh tick
    static constexpr auto kRemoveAckDelay = 5000ms;
    static constexpr auto kClockUpdateInterval = 1000ms;
    static constexpr int kTimeStatusWaitTicks = 10; // between the two download requests
    static constexpr int kTimeCommandWaitTicks = 20;
    static constexpr int kResetWaitTicks = 50;

    inline static const QString kRemoveMessageText
        = QStringLiteral("Remove message and Click \"Upload to Sign\" to display Time");

    DefaultMessageEditor(core::DefaultMessageStore &store, MainWindowView main,
                         QObject *parent = nullptr);
    ~DefaultMessageEditor() override;

    const DefaultMessageState &state() const { return m_state; }

    // Opening: profile, time formats, then the stored record or a download from the sign.
    void Form_Load();
    // Closing: the text and the six indexes go back to the main window's record.
    void Form_Unload();

    // A selection in fontList, ColorList, StyleList, AlignmentList, SpeedList or PauseList,
    // by the operator or by a record; an index the list cannot take changes nothing.
    void listClick(vocab::Attribute attribute, int index);
    void TimeFormat_Click(int index);
    void InsertTime_Click();
    // The operator edited defaultMessage; line breaks may come as LF or CR LF.
    void setMessageText(const QString &text);

    void Download_Click();
    void Upload_Click();
    void TimeOnIdle_Click();
    void SetTime_Click();

    void RemoveAck_Timer();
    void ClockUpdate_Timer();

    void handleDefaultReply(const QString &line);
    // Waits count ticks of 10 ms while events go on.
    void Sleep(int count);

    link::SerialLink &serialLink() { return m_port.serialLink(); }
    QTimer &comCloseTimer() { return m_port.comCloseTimer(); }
    QTimer &removeAckTimer() { return m_removeAck; }
    QTimer &clockUpdateTimer() { return m_clockUpdate; }

signals:
    // The lists were filled for the model (once, while opening).
    void profileApplied();
    void stateChanged();
    // A message box for the operator: title, text.
    void messageRequested(const QString &title, const QString &text);

private:
    void changed() { emit stateChanged(); }
    void setMessage(const QString &text);
    void showAck(const QString &text);
    bool download();
    bool openPort();
    void restoreButtons();
    void portClosed(bool portWasOpen);
    void applyRecord(const DefaultMessageRecord &record);

    core::DefaultMessageStore &m_store;
    const MainWindowView m_main;
    DefaultMessageState m_state;
    MessagePort m_port { m_state, kComCloseTicks };
    bool m_waiting = false; // a send waits in Sleep; other sends wait their turn
    QTimer m_removeAck;
    QTimer m_clockUpdate;
};

} // namespace tavrin::editors
