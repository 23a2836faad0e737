// "Upload to Sign": change detection, then one pending item per UploadTimer tick.
#include "AppTitle.h"
#include "MainController.h"

namespace tavrin::core {

namespace {

const QString kUploadCaption = QStringLiteral("Upload to Sign");

} // namespace

int MainController::getChangedRows()
{
    const int count = core::getChangedRows(m_state);
    changed();
    return count;
}

void MainController::UploadAll_Click()
{
    if (m_uploadTimer.isActive())
        return; // the button is disabled while an upload runs; a second start would mix them
    // A timeout the change detector cannot read would be stored wrongly and sent as typed.
    if (const auto problem = timeoutProblem(m_state.config)) {
        emit messageRequested(kAppTitle, *problem);
        return;
    }
    m_uploadCommands = uploadCommands(m_state.config);
    const SignImage imageBefore = m_state.image;
    if (getChangedRows() == 0)
        showStatus(QStringLiteral("Nothing to Upload"));
    m_state.progressMaximum = uploadProgressMaximum(m_state.flags);

    const int portNumber = m_state.portIndex + 1;
    const link::OpenResult opened = m_link.open(portNumber);
    if (!opened) {
        reportOpenFailure(opened, portNumber);
        changed();
        return;
    }
    m_run = { imageBefore, {}, 0 };
    m_uploadTimer.start();
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.uploadCaption = QStringLiteral("Writing...");
    m_state.progressValue = 0;
    m_state.progressVisible = true;
    changed();
}

void MainController::ForceUpload_Click()
{
    markAllPending(m_state.flags);
    if (m_uploadTimer.isActive()) {
        // The running upload serves the new flags before it ends; the bar makes room for them.
        m_state.progressMaximum = m_state.progressValue + uploadProgressMaximum(m_state.flags);
        changed();
        return;
    }
    UploadAll_Click();
}

void MainController::UploadTimer_Timer()
{
    if (m_uploadTickRunning)
        return; // the previous tick still waits between a link's two commands
    m_uploadTickRunning = true;
    const UploadStep step = uploadTick(m_state, m_uploadCommands);
    if (step.item.kind != UploadItem::Kind::None)
        m_run.sent.append(step.item);
    changed();
    if (step.finished) {
        endUpload();
    } else if (writeOrAbortUpload(step.first, step.item) && step.pauseThenSecond) {
        Sleep(kLinkPauseTicks);
        if (m_uploadTimer.isActive())
            writeOrAbortUpload(step.second, step.item);
        else
            markPending(m_state.flags, step.item); // the line was lost during the pause
    }
    m_uploadTickRunning = false;
}

bool MainController::writeOrAbortUpload(const QString &command, const UploadItem &item)
{
    if (command.isEmpty())
        return true;
    if (m_link.write(command)) {
        emit uploadCommandSent(command);
        return true;
    }
    // The item did not reach the sign: keep it pending for the next upload.
    markPending(m_state.flags, item);
    const int portNumber = m_link.portNumber();
    endUpload();
    emit messageRequested(kAppTitle,
                          QStringLiteral("Writing to COM ") + QString::number(portNumber)
                              + QStringLiteral(" failed; the upload was stopped. "
                                               "What was not sent is still pending."));
    return false;
}

void MainController::endUpload()
{
    // A sign still in the middle of a line did answer, only never a whole line.
    const bool lineUnfinished = m_link.isCollecting();
    m_link.close();
    m_uploadTimer.stop();
    if (!m_run.sent.isEmpty() && m_run.replies == 0)
        undoUnansweredRun(lineUnfinished);
    m_run = {};
    m_state.uploadCaption = kUploadCaption;
    m_state.progressVisible = false;
    restoreButtons();
}

void MainController::undoUnansweredRun(bool lineUnfinished)
{
    // Nothing proves the sign got any of it: keep it all waiting, and the image as it was.
    m_state.image = m_run.imageBefore;
    for (const UploadItem &item : std::as_const(m_run.sent))
        markPending(m_state.flags, item);
    showStatus((lineUnfinished ? QStringLiteral("The sign sent no complete reply")
                               : QStringLiteral("The sign did not answer"))
               + QStringLiteral("; the changes are still waiting to be sent."));
}

} // namespace tavrin::core
