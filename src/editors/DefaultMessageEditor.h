#pragma once

#include "DefaultMessageState.h"
#include "MessageWindowController.h"

#include "DefaultMessageStore.h"

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

// The default-message editor's behaviour without widgets: it owns the window's state, and
// through its base its timers and its own serial link; the window binds its controls to
// state() and forwards the operator's choices and clicks here. The record it edits lives in
// the main window's DefaultMessageStore, read when the editor opens and written when it closes.
class DefaultMessageEditor : public MessageWindowController
{
    Q_OBJECT

public:
    // The port closes ten 50 ms ticks after the last write, on the eleventh.
    static constexpr auto kCloseDelay = 550ms;
    static constexpr auto kTimeStatusPause = 100ms; // after DOWNLOAD_DEFAULT_MSG
    static constexpr auto kTimeCommandPause = 200ms; // after the message command
    static constexpr auto kResetPause = 500ms; // after the time command

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
    void listClick(vocab::Attribute attribute, int index) override;
    void chooseTimeFormat(int index);
    void insertTime();
    // The operator edited defaultMessage; line breaks may come as LF or CR LF.
    void setMessageText(const QString &text);

    void download() override;
    void upload() override;
    void showTimeOnIdle();

    // A line from the sign while a send runs; it changes what it confirmed, if anything.
    void handleDefaultReply(const SignAnswer &answer);

protected:
    MessageWindowState &shown() override { return m_state; }
    int portNumber() const override { return m_main.portIndex + 1; }

private:
    void setMessage(const QString &text);
    QString unknownListsText() const;
    void selectCode(vocab::Attribute attribute, int index);
    void selectTimeFormat(int index);
    bool startDownload();
    void restoreButtons();
    void commandWritten(const QString &text);
    void itemSettled(const protocol::ExchangeItem &item); // the base tells what failed
    void portIdle();
    void applyRecord(const protocol::DefaultMessageRecord &record);

    core::DefaultMessageStore &m_store;
    const MainWindowView m_main;
    DefaultMessageState m_state;
    bool m_openingDownload = false; // the download that open started is under way
    bool m_placeholderShown = false; // no record since opening without a stored message
    bool m_edited = false; // by the operator
};

} // namespace tavrin::editors
