// The main window's sign commands: download, port search, ID mode, factory defaults.
#include "AppTitle.h"
#include "MainController.h"
#include "ReplyInterpreter.h"

#include "SignReplies.h"

#include <QLocale>

#include <utility>

namespace tavrin::core {

namespace {

const QString kDownloadCommand = QStringLiteral("DOWNLOAD_ALL\r");
const QString kReadingCaption = QStringLiteral("Reading...");
const QString kDownloadCaption = QStringLiteral("Download from Sign");
const QString kUnreadableReply
    = QStringLiteral("The sign's reply could not be read; nothing of it was applied.");
// The loss of the line while the port is handed to a message window is not a fault.
const QString kHandedOver = QStringLiteral("the port was handed to another window");

protocol::ExchangeTiming singleCommandTiming(std::chrono::milliseconds closeDelay)
{
    protocol::ExchangeTiming timing;
    timing.replyWait = closeDelay;
    timing.closeDelay = closeDelay;
    timing.recheck = MainController::kReplyRecheck;
    timing.longReplyLimit = MainController::kLongReplyLimit;
    return timing;
}

} // namespace

protocol::ExchangeTiming MainController::requestTiming()
{
    protocol::ExchangeTiming timing = singleCommandTiming(kComCloseDelay);
    timing.closeOnceConfirmed = true;
    return timing;
}

protocol::ExchangeItem MainController::configurationRequest()
{
    return { QStringLiteral("Configuration"), { { kDownloadCommand } } };
}

void MainController::onExchangeLine(const QString &line, const protocol::Exchange::Reply &reply)
{
    const bool answersDownload = reply.verdict == protocol::Verdict::Confirms
        && reply.expected == protocol::Expectation::Kind::ConfigurationLine;
    if (!answersDownload && m_exchange.isAwaiting(protocol::Expectation::Kind::ConfigurationLine)
        && line.contains(u':')) {
        // Cut short, garbled, or two programs on one device: none of it may pass for the sign.
        showStatus(kUnreadableReply);
        emit replyInterpreted(line);
        return;
    }
    interpretLine(line, answersDownload);
}

void MainController::interpretLine(const QString &line, bool answersDownload)
{
    ReplyOutcome outcome = parseSignReply(line, m_state, answersDownload);
    m_state = std::move(outcome.state);
    if (outcome.profileApplied)
        emit profileChanged();
    if (outcome.statusShown)
        m_textClear.start();
    changed();
    if (outcome.showPriority)
        showPriorities();
    if (outcome.firmwareCountSet)
        checkFirmwareBuild();
    if (outcome.profileApplied) {
        m_configurationRead = true;
        emit configurationReceived();
    }
    emit replyInterpreted(line);
}

void MainController::onExchangeFinished(const protocol::ExchangeOutcome &outcome)
{
    const Operation operation = std::exchange(m_operation, Operation::None);
    switch (operation) {
    case Operation::None:
        break;
    case Operation::Download:
        downloadEnded(outcome);
        break;
    case Operation::Upload:
        uploadEnded(outcome);
        break;
    case Operation::IDSwitch:
        idSwitchEnded(outcome);
        break;
    case Operation::FactoryDefaults:
        m_state.factoryDefaultsEnabled = false;
        m_state.downloadEnabled = false;
        m_state.uploadEnabled = false;
        changed();
        reportLoss(outcome);
        emit factoryDefaultsSent(outcome);
        // The sign is read again even when it did not confirm: it may have reset all the same.
        if (outcome.lostReason.isEmpty())
            startDownload();
        else
            restoreButtons();
        break;
    }
}

void MainController::reportLoss(const protocol::ExchangeOutcome &outcome)
{
    if (outcome.lostReason.isEmpty() || outcome.lostReason == kHandedOver)
        return;
    if (!m_link.everConnected()) {
        // A network port that never reached its device server could not be opened, only
        // later than a local one says so: its entry and the status line tell it.
        const int portNumber = m_link.portNumber();
        if (portNumber >= 1 && portNumber <= vocab::kPortCount) {
            m_state.portEntries[portNumber - 1]
                = link::portFailureEntry(portNumber, outcome.lostReason);
            m_state.portFailures[portNumber - 1] = outcome.lostReason;
        }
        reportOpenFailure({ link::OpenError::Other, outcome.lostReason }, portNumber);
        return;
    }
    emit messageRequested(kAppTitle,
                          link::connectionLostText(m_link.portNumber(), outcome.lostReason));
}

void MainController::reportOpenFailure(const link::OpenResult &result, int portNumber)
{
    if (result.error == link::OpenError::NotFound) {
        emit messageRequested(kAppTitle, link::cannotOpenPortText(portNumber));
        return;
    }
    const QString entry = link::portFailureEntry(portNumber, result.description);
    showStatus(entry);
    emit portOpenFailed(entry);
    // Access to the device is changed outside the program, and the status line is too short
    // and too brief to say how: the box says it, as the message windows' boxes do.
    if (!result.hint.isEmpty())
        emit messageRequested(kAppTitle, result.fullText());
}

void MainController::download()
{
    startDownload();
}

bool MainController::startDownload()
{
    m_defaultMessage.forgetConfigFile();
    // A request in flight (or the search's probes) has nothing to add to it.
    if (lineBusy())
        return false;
    const int index = m_state.portIndex;
    const link::OpenResult opened
        = m_exchange.start(index + 1, requestTiming(), { configurationRequest() });
    if (!opened) {
        // The entry keeps the failure; selecting it still means the same port number.
        m_state.portEntries[index] = link::portFailureEntry(index + 1, opened.description);
        m_state.portFailures[index] = opened.fullText();
        changed();
        return false;
    }
    m_operation = Operation::Download;
    m_configurationRead = false;
    m_state.downloadEnabled = false;
    m_state.downloadCaption = kReadingCaption;
    changed();
    return true;
}

void MainController::downloadEnded(const protocol::ExchangeOutcome &outcome)
{
    m_state.downloadCaption = kDownloadCaption;
    restoreButtons();
    reportLoss(outcome);
    emit downloadFinished(m_configurationRead);
}

void MainController::restoreButtons()
{
    m_state.downloadEnabled = true;
    m_state.uploadEnabled = true;
    m_state.factoryDefaultsEnabled = true;
    changed();
}

void MainController::searchPorts()
{
    m_searchPort.stop();
    if (lineBusy())
        return;
    m_searching = true;
    m_defaultMessage.forgetConfigFile();
    m_configurationRead = false;
    m_state.status = QStringLiteral("Searching...");
    m_state.statusVisible = true;
    m_state.downloadEnabled = false;
    m_state.downloadCaption = kReadingCaption;
    emit searchStarted();
    m_portSearch.start(vocab::kPortCount, requestTiming(), configurationRequest());
    changed();
}

void MainController::portRuledOut(int portNumber)
{
    const PortSearch::Probe &probe = m_portSearch.probe(portNumber);
    const int index = portNumber - 1;
    if (!probe.opened) {
        m_state.portEntries[index] = link::portFailureEntry(portNumber, probe.opened.description);
        m_state.portFailures[index] = probe.opened.fullText();
    }
    // Told when the search is over; a box would stand in the way of the window coming up.
    if (!probe.lostReason.isEmpty() && m_noticeAfterSearch.isEmpty())
        m_noticeAfterSearch = link::connectionLostText(portNumber, probe.lostReason);
    changed();
}

void MainController::searchEnded(int winner)
{
    if (winner > 0) {
        // Ports above the sign's are as a port-by-port search leaves them: never tried.
        const QStringList names = vocab::portEntries();
        for (int index = winner; index < vocab::kPortCount; ++index) {
            m_state.portEntries[index] = names.value(index);
            m_state.portFailures[index].clear();
        }
        m_state.portIndex = winner - 1;
        applyProbe(m_portSearch.probe(winner));
    } else {
        m_state.portIndex = 0;
    }
    m_state.downloadCaption = kDownloadCaption;
    restoreButtons();
    if (winner > 0)
        emit downloadFinished(m_configurationRead);
    endSearch();
}

// The winning port's lines, read as a download from it reads them.
void MainController::applyProbe(const PortSearch::Probe &probe)
{
    for (int i = 0; i < probe.lines.size(); ++i) {
        const QString &line = probe.lines.at(i);
        if (i < probe.confirmingLine && line.contains(u':')) {
            showStatus(kUnreadableReply); // garbled before the whole line came
            emit replyInterpreted(line);
            continue;
        }
        interpretLine(line, i == probe.confirmingLine);
    }
}

void MainController::endSearch()
{
    m_state.statusVisible = false;
    m_state.status.clear();
    changed();
    m_searching = false;
    if (!m_noticeAfterSearch.isEmpty())
        showStatus(std::exchange(m_noticeAfterSearch, QString()));
    emit searchFinished();
}

void MainController::toggleIdMode()
{
    if (lineBusy()) {
        changed(); // the box's own toggle is undone
        return;
    }
    const int portNumber = m_state.portIndex + 1;
    const bool wasAuto = m_state.config.autoID == 1;
    const QString command = wasAuto ? QStringLiteral("<id=user>\r") : QStringLiteral("<id=auto>\r");
    const link::OpenResult opened
        = m_exchange.start(portNumber, singleCommandTiming(kIDSwitchDelay),
                           { { QStringLiteral("ID mode"), { { command } } } });
    if (!opened) {
        changed(); // the box's own toggle is undone before anything is told
        if (opened.error != link::OpenError::AlreadyOpen)
            reportOpenFailure(opened, portNumber);
        return;
    }
    m_operation = Operation::IDSwitch;
    m_state.config.autoID = wasAuto ? 0 : 1;
    m_state.autoIDEnabled = false;
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    changed();
}

void MainController::idSwitchEnded(const protocol::ExchangeOutcome &outcome)
{
    m_state.autoIDEnabled = true;
    m_state.downloadEnabled = true;
    m_state.uploadEnabled = true;
    changed();
    reportLoss(outcome);
    if (outcome.results.value(0) == protocol::ItemResult::Refused)
        showStatus(QStringLiteral("The sign refused the ID mode."));
    else if (!outcome.allConfirmed())
        showStatus(QStringLiteral("The sign did not confirm the ID mode."));
}

void MainController::checkFirmwareBuild()
{
    if (m_state.firmwareCount == kFirmwareCountNotAvailable)
        return;
    // A build field that is not a number shows nothing: there is nothing sure to tell.
    bool isNumber = false;
    const double build = QLocale::c().toDouble(m_state.firmwareCount.trimmed(), &isNumber);
    if (!isNumber || build >= kFirstFirmwareBuild)
        return;
    emit messageRequested(
        QStringLiteral("Upgrade Firmware"),
        QStringLiteral("A newer rom file ") + QStringLiteral("Norvik 4.1.rom")
            + QStringLiteral(" is available to Upload")
            + QStringLiteral("\r\nPlease click on Tools --> Upgrade on the top menu to Upload it"));
}

void MainController::releaseLine()
{
    stopPortSearch();
    if (m_exchange.isRunning())
        m_exchange.abandon(kHandedOver);
    m_state.downloadCaption = kDownloadCaption;
    m_state.downloadEnabled = true;
    changed();
}

void MainController::sendFactoryDefaults()
{
    if (lineBusy())
        return; // its button is off while the line is
    m_state.progressMaximum = kFactoryDefaultsProgressMaximum;
    const int portNumber = m_state.portIndex + 1;
    const link::OpenResult opened = m_exchange.start(
        portNumber, singleCommandTiming(kFactoryDefDelay),
        { { QStringLiteral("Factory defaults"), { { QStringLiteral("<FD>\r") } } } });
    if (!opened) {
        emit messageRequested(kAppTitle, link::openFailureMessage(opened, portNumber));
        changed();
        return;
    }
    m_operation = Operation::FactoryDefaults;
    m_state.factoryDefaultsEnabled = false;
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    changed();
}

} // namespace tavrin::core
