#pragma once

#include "DefaultMessageStore.h"
#include "MainState.h"
#include "Upload.h"
#include "link/SerialLink.h"
#include "update/UpdateCheck.h"

#include <QElapsedTimer>
#include <QList>
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
    // While a reply line is still arriving at the ComClose tick the port stays open, looked
    // at again every kComCloseRecheck, for at most kLongReplyLimit: a sign with a well-filled
    // link table sends more than 400 ms of characters at 9600 baud.
    static constexpr auto kComCloseRecheck = 50ms;
    static constexpr auto kLongReplyLimit = 3000ms;
    static constexpr auto kFactoryDefDelay = 500ms;
    static constexpr auto kTextClearDelay = 5000ms;
    static constexpr auto kUploadInterval = 500ms;
    static constexpr int kShownHeightTwips = 9700;
    static constexpr int kHiddenHeightTwips = 5750;
    static constexpr int kProbeWaitTicks = 30; // after each port probe of the search
    static constexpr int kBetweenPortsTicks = 10;
    static constexpr int kIDSwitchTicks = 20;
    static constexpr int kFirstFirmwareBuild = 3; // builds below this get the upgrade notice
    static constexpr int kFactoryDefaultsProgressMaximum = 20;

    explicit MainController(QObject *parent = nullptr);
    ~MainController() override;

    const MainState &state() const { return m_state; }

    // Whether the port search also runs the update check (when the user has not turned it
    // off). Programs without a window turn it off: they never go on the network.
    void setUpdateCheckEnabled(bool enabled) { m_updateCheckEnabled = enabled; }

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

    // Sign commands of the window.
    void DownloadAll_Click();
    void ComClose_Timer();
    void SearchPort_Timer();
    void AutoID_MouseDown();
    void FCount_Change();
    void FactoryDef_Timer();
    // Closes the port before the default-message editor takes the line over.
    void SetupDefaultMsg_Click();
    // The same before the test-message window takes the line over.
    void SendTestMsg_Click() { SetupDefaultMsg_Click(); }
    // "Yes" in the factory-defaults confirmation: sends "<FD>" on this window's port.
    void sendFactoryDefaults();

    // Upload of the configuration.
    void UploadAll_Click();
    void ForceUpload_Click();
    void UploadTimer_Timer();
    int getChangedRows();

    // Waits count ticks of 10 ms while events go on; false once the application quits.
    bool Sleep(int count);

    // Shared default-message record and configuration file name.
    DefaultMessageStore &defaultMessage() { return m_defaultMessage; }
    const DefaultMessageStore &defaultMessage() const { return m_defaultMessage; }
    const UploadCommands &uploadCommandsSent() const { return m_uploadCommands; }

    // Replaces the whole state, as opening a configuration file does.
    void setState(const MainState &state);
    link::SerialLink &serialLink() { return m_link; }
    void onReplyLine(const QString &line);

    QTimer &searchPortTimer() { return m_searchPort; }
    QTimer &textClearTimer() { return m_textClear; }
    QTimer &comCloseTimer() { return m_comClose; }
    QTimer &factoryDefTimer() { return m_factoryDef; }
    QTimer &uploadTimer() { return m_uploadTimer; }
    update::UpdateCheck &updateCheck() { return m_updateCheck; }

signals:
    // Any part of state() changed; the window refreshes its controls from it.
    void stateChanged();
    // The attribute lists were rebuilt for another model: the window refills them.
    void profileChanged();
    // The window should take this height (twips) after restoring its normal state.
    void windowHeightRequested(int twips);
    // A message box for the operator: title, text.
    void messageRequested(const QString &title, const QString &text);
    // Each line the sign sends, after the window has interpreted it.
    void replyInterpreted(const QString &line);
    // A configuration line from the sign has just been read into state().
    void configurationReceived();
    // The upload has written this command to the sign.
    void uploadCommandSent(const QString &command);
    // The port search has ended (found a sign or tried every port).
    void searchFinished();
    // The update check after the port search found a newer version on the download page.
    void newVersionOffered(const tavrin::update::UpdateOffer &offer);

private:
    void changed() { emit stateChanged(); }
    void applyReply(const QString &line);
    void onLinkLost(const QString &description);
    // 8002 box for a port with no device; the port list's failure text in Textout otherwise,
    // and a box with the hint when the user must get access to the device.
    void reportOpenFailure(const link::OpenResult &result, int portNumber);
    void closeAfterDownload();
    // An upload that ends without a single reply from the sign did not reach it.
    void undoUnansweredRun(bool lineUnfinished);
    void restoreButtons();
    void endUpload();
    bool writeOrAbortUpload(const QString &command, const UploadItem &item);

    // The update check around the port search (MainUpdateCheck.cpp).
    void connectUpdateCheck();
    void startLoadingDownloadPage();
    void runUpdateCheck();

    MainState m_state;
    DefaultMessageStore m_defaultMessage;
    link::SerialLink m_link;
    UploadCommands m_uploadCommands;
    bool m_searching = false;
    bool m_switchingID = false;
    bool m_uploadTickRunning = false;
    bool m_comCloseExtended = false;
    bool m_updateCheckEnabled = true;
    QElapsedTimer m_comCloseExtension;
    QString m_noticeAfterSearch; // a loss during the search is told when it is over

    // What one upload run sent, and whether the sign said anything meanwhile.
    struct UploadRun
    {
        SignImage imageBefore;
        QList<UploadItem> sent;
        int replies = 0;
    };
    UploadRun m_run;
    QTimer m_searchPort;
    QTimer m_comClose;
    QTimer m_factoryDef;
    QTimer m_textClear;
    QTimer m_uploadTimer;
    update::UpdateCheck m_updateCheck;
};

} // namespace tavrin::core
