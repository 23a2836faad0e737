// The main window's sign commands: download, port search, ID mode, factory defaults.
#include "AppTitle.h"
#include "MainController.h"
#include "ReplyInterpreter.h"

#include "link/Sleep.h"

#include <QLocale>

#include <utility>

namespace tavrin::core {

namespace {

const QString kDownloadCommand = QStringLiteral("DOWNLOAD_ALL\r");
const QString kReadingCaption = QStringLiteral("Reading...");
const QString kDownloadCaption = QStringLiteral("Download from Sign");

} // namespace

bool MainController::Sleep(int count)
{
    return link::sleepTicks(count);
}

void MainController::onReplyLine(const QString &line)
{
    if (m_uploadTimer.isActive())
        ++m_run.replies;
    applyReply(line);
    emit replyInterpreted(line);
}

void MainController::applyReply(const QString &line)
{
    ReplyOutcome outcome = parseSignReply(line, m_state);
    if (outcome.profileApplied)
        outcome.state.styleP0Shift = 0; // the profile puts StyleP0 back at its column
    m_state = std::move(outcome.state);
    if (outcome.profileApplied)
        emit profileChanged();
    if (outcome.statusShown)
        m_textClear.start();
    changed();
    if (outcome.showPriority)
        ShowPriority_Click();
    if (outcome.firmwareCountSet)
        FCount_Change();
    if (outcome.profileApplied)
        emit configurationReceived();
}

void MainController::reportOpenFailure(const link::OpenResult &result, int portNumber)
{
    if (result.error == link::OpenError::NotFound) {
        emit messageRequested(kAppTitle, link::cannotOpenPortText(portNumber));
        return;
    }
    showStatus(link::portFailureEntry(portNumber, result.description));
    // Access to the device is changed outside the program, and the status line is too short
    // and too brief to say how: the box says it, as the message windows' boxes do.
    if (!result.hint.isEmpty())
        emit messageRequested(kAppTitle, result.fullText());
}

void MainController::DownloadAll_Click()
{
    m_defaultMessage.DeleteConfigFileName();
    const int index = m_state.portIndex;
    const link::OpenResult opened = m_link.open(index + 1);
    if (opened.error == link::OpenError::AlreadyOpen)
        return; // a request is in flight (the search is probing): nothing to add to it
    if (!opened) {
        // The entry keeps the failure; selecting it still means the same port number.
        m_state.portEntries[index] = link::portFailureEntry(index + 1, opened.description);
        m_state.portFailures[index] = opened.fullText();
        changed();
        return;
    }
    m_state.downloadEnabled = false;
    m_state.downloadCaption = kReadingCaption;
    changed();
    m_link.write(kDownloadCommand);
    m_comCloseExtended = false;
    m_comClose.start(kComCloseDelay);
}

void MainController::ComClose_Timer()
{
    if (m_link.lineArriving()) {
        if (!m_comCloseExtended) {
            m_comCloseExtended = true;
            m_comCloseExtension.start();
            m_comClose.start(kComCloseRecheck);
            return;
        }
        if (!m_comCloseExtension.hasExpired(kLongReplyLimit.count()))
            return;
        // Past the limit the line is cut off; closing drops it whole.
    }
    closeAfterDownload();
}

void MainController::closeAfterDownload()
{
    m_comClose.stop();
    m_comCloseExtended = false;
    if (!m_link.isOpen())
        return;
    m_link.close();
    m_state.downloadCaption = kDownloadCaption;
    restoreButtons();
}

void MainController::restoreButtons()
{
    m_state.downloadEnabled = true;
    m_state.uploadEnabled = true;
    m_state.factoryDefaultsEnabled = true;
    changed();
}

void MainController::SearchPort_Timer()
{
    if (m_searching)
        return; // the timer ticks on while the search waits in Sleep
    m_searching = true;

    m_state.statusVisible = true;
    changed();
    startLoadingDownloadPage();

    for (int i = 0; i < vocab::kPortCount; ++i) {
        m_state.status = QStringLiteral("Searching...");
        m_state.portIndex = i;
        changed();
        DownloadAll_Click();
        Sleep(kProbeWaitTicks);
        // Judge the probe only once its port has closed: a reply still arriving belongs to
        // this port, and selecting the next one first would send every later command there.
        // Once the window has closed and the program quits, ComClose never fires again.
        while (m_comClose.isActive() && Sleep(1)) { }
        if (!m_state.modelLabel.isEmpty())
            break;
        if (!m_searchPort.isActive())
            break;
        if (i == vocab::kPortCount - 1)
            m_state.portIndex = 0;
        m_state.status.clear();
        changed();
        Sleep(kBetweenPortsTicks);
    }
    m_state.status.clear();
    changed();

    runUpdateCheck();

    m_state.statusVisible = false;
    m_state.status.clear();
    m_searchPort.stop();
    m_state.versionCheckVisible = m_updateCheck.isWaiting();
    changed();
    m_searching = false;
    if (!m_noticeAfterSearch.isEmpty())
        showStatus(std::exchange(m_noticeAfterSearch, QString()));
    emit searchFinished();
}

void MainController::AutoID_MouseDown()
{
    if (m_switchingID)
        return;
    const int portNumber = m_state.portIndex + 1;
    const link::OpenResult opened = m_link.open(portNumber);
    if (!opened) {
        changed(); // the box's own toggle is undone before anything is told
        reportOpenFailure(opened, portNumber);
        return;
    }
    m_switchingID = true;
    const bool wasAuto = m_state.config.autoID == 1;
    m_state.config.autoID = wasAuto ? 0 : 1;
    m_link.write(wasAuto ? QStringLiteral("<id=user>\r") : QStringLiteral("<id=auto>\r"));
    m_state.autoIDEnabled = false;
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    changed();

    Sleep(kIDSwitchTicks);

    m_link.close();
    m_state.autoIDEnabled = true;
    m_state.downloadEnabled = true;
    m_state.uploadEnabled = true;
    changed();
    m_switchingID = false;
}

void MainController::FCount_Change()
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

void MainController::FactoryDef_Timer()
{
    m_factoryDef.stop();
    if (m_link.isOpen())
        m_link.close();
    m_state.factoryDefaultsEnabled = false;
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    changed();
    DownloadAll_Click();
}

void MainController::SetupDefaultMsg_Click()
{
    if (m_link.isOpen())
        m_link.close();
    m_state.downloadCaption = kDownloadCaption;
    m_state.downloadEnabled = true;
    changed();
}

void MainController::sendFactoryDefaults()
{
    m_state.progressMaximum = kFactoryDefaultsProgressMaximum;
    const int portNumber = m_state.portIndex + 1;
    const link::OpenResult opened = m_link.open(portNumber);
    if (!opened) {
        emit messageRequested(kAppTitle, link::openFailureMessage(opened, portNumber));
        changed();
        return;
    }
    m_state.factoryDefaultsEnabled = false;
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    changed();
    m_link.write(QStringLiteral("<FD>\r"));
    m_factoryDef.start();
}

void MainController::onLinkLost(const QString &description)
{
    const int portNumber = m_link.portNumber();
    m_comClose.stop();
    m_comCloseExtended = false;
    if (m_uploadTimer.isActive())
        endUpload();
    m_state.downloadCaption = kDownloadCaption;
    restoreButtons();
    const QString text = link::connectionLostText(portNumber, description);
    // The search goes on to the next port; a box would stop it until someone clicks.
    if (m_searching)
        m_noticeAfterSearch = text;
    else
        emit messageRequested(kAppTitle, text);
}

} // namespace tavrin::core
