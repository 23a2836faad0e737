#pragma once

#include "DefaultMessageStore.h"
#include "Exchange.h"
#include "MainState.h"
#include "PortSearch.h"
#include "SerialLink.h"
#include "UploadProgress.h"

#include <QList>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <optional>

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
    // The port closes this long after a download request. A reply line still arriving then
    // keeps it open, looked at again every kReplyRecheck, for at most kLongReplyLimit: a sign
    // with a well-filled link table sends more than 400 ms of characters at 9600 baud.
    static constexpr auto kComCloseDelay = 400ms;
    static constexpr auto kReplyRecheck = 50ms;
    static constexpr auto kLongReplyLimit = 3000ms;
    static constexpr auto kFactoryDefDelay = 500ms; // from "<FD>" to the re-read
    static constexpr auto kTextClearDelay = 5000ms;
    // One upload item every 500 ms; an item not confirmed by the next one is not confirmed.
    static constexpr auto kUploadInterval = 500ms;
    static constexpr auto kIDSwitchDelay = 200ms; // the ID switch keeps the port this long
    static constexpr int kShownHeightTwips = 9700;
    static constexpr int kHiddenHeightTwips = 5750;
    static constexpr int kFirstFirmwareBuild = 3; // builds below this get the upgrade notice
    static constexpr int kFactoryDefaultsProgressMaximum = 20;

    // Download from Sign: the request, and its pace (the port closes once the line is whole,
    // a long reply is read to its end). The search and a site survey ask the same.
    static protocol::ExchangeItem configurationRequest();
    static protocol::ExchangeTiming requestTiming();

    explicit MainController(QObject *parent = nullptr);
    ~MainController() override;

    const MainState &state() const { return m_state; }

    // Start-up and shutdown: the port search starts 400 ms after startPortSearch();
    // stopPortSearch() ends it.
    void startPortSearch();
    // Calls off the start-up search; every port it probes is closed.
    void stopPortSearch();
    bool isSearching() const { return m_searching; }
    // True while a command is on the line (a download, an upload, the ID switch, the reset).
    bool isBusy() const { return m_exchange.isRunning(); }

    // The operator's edits of the configuration controls.
    void setRowCode(int row, vocab::Attribute attribute, int code);
    // The same, chosen by the operator in the window.
    void chooseRowCode(int row, vocab::Attribute attribute, int code);
    void setTimeoutText(int row, const QString &text);
    void setCapcode(int link, const QString &text);
    void setLinkPriority(int link, int code);
    void setUserCommand(const QString &text);
    void setPortIndex(int index);
    // These ports' devices were chosen anew: what the port list said of their old ones is
    // dropped; the other ports keep theirs.
    void portDevicesChanged(const QList<int> &portNumbers);

    // Small handlers of the window.
    void showPriorities();
    void hidePriorities();
    void clearStatus();
    void setForceOnId0(bool ticked);

    // Shows a status text in Textout for the TextClear period.
    void showStatus(const QString &text);

    // Sign commands of the window.
    void download();
    void searchPorts();
    void toggleIdMode();
    void checkFirmwareBuild();
    // Closes the port before a message window takes the line over.
    void releaseLine();
    // "Yes" in the factory-defaults confirmation: sends "<FD>" on this window's port, then
    // reads the sign again.
    void sendFactoryDefaults();

    // Upload of the configuration.
    void upload();
    void uploadEverything();
    // Finishes the item on the line (never a link's clearing command alone) and ends the
    // upload; what was not confirmed stays pending.
    void stopUpload();
    int markChangedItems();

    // Shared default-message record and configuration file name.
    DefaultMessageStore &defaultMessage() { return m_defaultMessage; }
    const DefaultMessageStore &defaultMessage() const { return m_defaultMessage; }
    const UploadCommands &uploadCommandsSent() const { return m_uploadCommands; }

    // Replaces the whole state, as opening a configuration file does.
    void setState(const MainState &state);
    link::SerialLink &serialLink() { return m_link; }
    // Interprets one line from the sign as the window does; answersDownload when the line is
    // the whole answer to an outstanding DOWNLOAD_ALL.
    void interpretLine(const QString &line, bool answersDownload);

signals:
    // Any part of state() changed; the window refreshes its controls from it.
    void stateChanged();
    // The attribute lists were rebuilt for another model: the window refills them.
    void profileChanged();
    // The window should take this height (twips) after restoring its normal state.
    void windowHeightRequested(int twips);
    // A message box for the operator: title, text.
    void messageRequested(const QString &title, const QString &text);
    // A command could not open its port, told in Textout as the port list's failure text (a
    // port without a device is told by a box instead).
    void portOpenFailed(const QString &entry);
    // Each line the sign sends, after the window has interpreted it.
    void replyInterpreted(const QString &line);
    // A configuration line from the sign has just been read into state().
    void configurationReceived();
    // A download request has ended and its port is closed; read when the sign's whole
    // configuration came back.
    void downloadFinished(bool read);
    // The upload has written this command to the sign.
    void uploadCommandSent(const QString &command);
    // The sign confirmed, refused or did not confirm one upload item (its commands as sent).
    void uploadItemSettled(const tavrin::protocol::ExchangeItem &item,
                           tavrin::protocol::ItemResult result);
    // The upload has ended and its port is closed.
    void uploadFinished(const tavrin::protocol::ExchangeOutcome &outcome);
    // "<FD>" has been answered (or not); the re-read follows.
    void factoryDefaultsSent(const tavrin::protocol::ExchangeOutcome &outcome);
    // The port search has started; its first probe follows.
    void searchStarted();
    // The port search has ended (found a sign or tried every port).
    void searchFinished();

private:
    enum class Operation { None, Download, Upload, IDSwitch, FactoryDefaults };

    void changed() { emit stateChanged(); }
    void onExchangeLine(const QString &line, const protocol::Exchange::Reply &reply);
    void onExchangeFinished(const protocol::ExchangeOutcome &outcome);
    // 8002 box for a port with no device; the port list's failure text in Textout otherwise,
    // and a box with the hint when the user must get access to the device.
    void reportOpenFailure(const link::OpenResult &result, int portNumber);
    void reportLoss(const protocol::ExchangeOutcome &outcome);
    bool startDownload();
    void downloadEnded(const protocol::ExchangeOutcome &outcome);
    void portRuledOut(int portNumber);
    void searchEnded(int winner);
    void applyProbe(const PortSearch::Probe &probe);
    void endSearch();
    bool lineBusy() const { return m_exchange.isRunning() || m_searching; }
    void restoreButtons();
    std::optional<protocol::ExchangeItem> nextUploadItem();
    void uploadItemEnded(int item, protocol::ItemResult result);
    void uploadEnded(const protocol::ExchangeOutcome &outcome);
    void idSwitchEnded(const protocol::ExchangeOutcome &outcome);

    MainState m_state;
    DefaultMessageStore m_defaultMessage;
    link::SerialLink m_link;
    protocol::Exchange m_exchange { m_link };
    Operation m_operation = Operation::None;
    UploadCommands m_uploadCommands;
    bool m_configurationRead = false; // by the download under way
    QString m_noticeAfterSearch; // a loss during the search is told when it is over

    // The start-up search, which probes every port at once.
    PortSearch m_portSearch;
    bool m_searching = false;

    // One upload run: what it has taken so far, and what each item sent.
    struct UploadRun
    {
        PendingFlags taken;
        SignConfig sent; // the click's rows, ID mode and user command; links as sent
        QList<UploadItem> items; // by exchange item
        QList<protocol::ExchangeItem> exchangeItems;
    };
    UploadRun m_run;
    QTimer m_searchPort;
    QTimer m_textClear;
};

} // namespace tavrin::core
