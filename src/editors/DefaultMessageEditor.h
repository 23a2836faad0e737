#pragma once

#include "DefaultMessageState.h"
#include "MessagePort.h"

#include "DefaultMessageStore.h"

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
    // The port closes ten 50 ms ticks after the last write, on the eleventh.
    static constexpr auto kCloseDelay = 550ms;
    static constexpr auto kTimeStatusPause = 100ms; // after DOWNLOAD_DEFAULT_MSG
    static constexpr auto kTimeCommandPause = 200ms; // after the message command
    static constexpr auto kResetPause = 500ms; // after the time command
    static constexpr auto kRemoveAckDelay = 5000ms;
    static constexpr auto kClockUpdateInterval = 1000ms;

    inline static const QString kRemoveMessageText
        = QStringLiteral("Remove message and Click \"Upload to Sign\" to display Time");

    DefaultMessageEditor(core::DefaultMessageStore &store, MainWindowView main,
                         QObject *parent = nullptr);
    ~DefaultMessageEditor() override;

    const DefaultMessageState &state() const { return m_state; }

    // Opening: profile, time formats, then the stored record or a download from the sign.
    void open();
    // Closing: the text and the six indexes go back to the main window's record, unless the
    // editor opened to a download that the sign never confirmed and nothing was edited since.
    void close();

    // The operator's selection in fontList, ColorList, StyleList, AlignmentList, SpeedList or
    // PauseList; an index the list cannot take changes nothing.
    void listClick(vocab::Attribute attribute, int index);
    void chooseTimeFormat(int index);
    void insertTime();
    // The operator edited defaultMessage; line breaks may come as LF or CR LF.
    void setMessageText(const QString &text);

    void download();
    void upload();
    void showTimeOnIdle();
    void setSignClock();

    void clearAck();
    void updateClock();

    // A line from the sign while a send runs; it changes what it confirmed, if anything.
    void handleDefaultReply(const SignAnswer &answer);

    // From a send until its port has closed again.
    bool isBusy() const { return m_port.isBusy(); }
    link::SerialLink &serialLink() { return m_port.serialLink(); }

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
    void selectCode(vocab::Attribute attribute, int index);
    void selectTimeFormat(int index);
    bool startDownload();
    bool send(MessagePort::ItemBuilder build);
    void restoreButtons();
    void commandWritten(const QString &text);
    void itemSettled(const protocol::ExchangeItem &item, protocol::ItemResult result);
    void portIdle();
    void applyRecord(const protocol::DefaultMessageRecord &record);

    core::DefaultMessageStore &m_store;
    const MainWindowView m_main;
    DefaultMessageState m_state;
    MessagePort m_port { m_state, kCloseDelay };
    bool m_openingDownload = false; // the download that open started is under way
    bool m_placeholderShown = false; // no record since opening without a stored message
    bool m_edited = false; // by the operator
    QTimer m_removeAck;
    QTimer m_clockUpdate;
};

} // namespace tavrin::editors
