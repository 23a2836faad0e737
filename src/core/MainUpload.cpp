// "Upload to Sign": change detection, then one pending item every 500 ms, each pending until
// the sign confirms it.
#include "AppTitle.h"
#include "MainController.h"

namespace tavrin::core {

namespace {

const QString kUploadCaption = QStringLiteral("Upload to Sign");

protocol::ExchangeTiming uploadTiming()
{
    protocol::ExchangeTiming timing;
    timing.itemSpacing = MainController::kUploadInterval;
    timing.replyWait = MainController::kUploadInterval;
    timing.closeDelay = MainController::kUploadInterval;
    timing.recheck = MainController::kReplyRecheck;
    timing.longReplyLimit = MainController::kLongReplyLimit;
    return timing;
}

// "Uploaded 4 of 6; not confirmed: Priority 2, Link 5; refused by the sign: Link 6".
QString uploadSummary(const protocol::ExchangeOutcome &outcome)
{
    using protocol::ItemResult;
    QString text = QStringLiteral("Uploaded %1 of %2")
                       .arg(outcome.confirmedCount())
                       .arg(outcome.results.size());
    const QStringList unconfirmed
        = outcome.namesWith(ItemResult::Unconfirmed) + outcome.namesWith(ItemResult::Lost);
    // Fifteen names do not fit the status line, and a sign that confirmed nothing needs none.
    if (unconfirmed.size() == outcome.results.size() && unconfirmed.size() > 1)
        return text + QStringLiteral("; the sign confirmed none of them.");
    if (!unconfirmed.isEmpty())
        text += QStringLiteral("; not confirmed: ") + unconfirmed.join(QStringLiteral(", "));
    const QStringList refused = outcome.namesWith(ItemResult::Refused);
    if (!refused.isEmpty())
        text += QStringLiteral("; refused by the sign: ") + refused.join(QStringLiteral(", "));
    return text;
}

} // namespace

int MainController::markChangedItems()
{
    const int count = core::markChangedItems(m_state);
    changed();
    return count;
}

void MainController::upload()
{
    if (lineBusy()) {
        // The search's probes hold the line (the button is off during everything else); a
        // second exchange would mix their replies.
        showStatus(QStringLiteral("The sign's line is busy; upload again in a moment."));
        return;
    }
    // A timeout the change detector cannot read would be stored wrongly and sent as typed.
    if (const auto problem = timeoutProblem(m_state.config)) {
        emit messageRequested(kAppTitle, *problem);
        return;
    }
    m_uploadCommands = uploadCommands(m_state.config);
    if (markChangedItems() == 0)
        showStatus(QStringLiteral("Nothing to Upload"));
    m_state.progressMaximum = uploadProgressMaximum(m_state.flags);

    const int portNumber = m_state.portIndex + 1;
    m_run = { {}, m_state.config, {}, {} };
    const link::OpenResult opened
        = m_exchange.start(portNumber, uploadTiming(), [this] { return nextUploadItem(); });
    if (!opened) {
        reportOpenFailure(opened, portNumber);
        changed();
        return;
    }
    m_operation = Operation::Upload;
    m_state.downloadEnabled = false;
    m_state.uploadEnabled = false;
    m_state.uploadCaption = QStringLiteral("Writing...");
    m_state.progressValue = 0;
    m_state.progressVisible = true;
    changed();
}

void MainController::uploadEverything()
{
    markAllPending(m_state.flags);
    if (m_operation == Operation::Upload) {
        // The running upload serves the new flags before it ends; the bar makes room for them.
        m_state.progressMaximum = m_state.progressValue + uploadProgressMaximum(m_state.flags);
        changed();
        return;
    }
    upload();
}

void MainController::stopUpload()
{
    if (m_operation == Operation::Upload)
        m_exchange.stop();
}

std::optional<protocol::ExchangeItem> MainController::nextUploadItem()
{
    advanceUploadProgress(m_state);
    const UploadStep step
        = protocol::nextUploadStep(m_state.config, m_state.flags, m_uploadCommands, m_run.taken);
    changed();
    if (step.finished)
        return std::nullopt;
    protocol::ExchangeItem item { uploadItemName(step.item), { { step.first } } };
    if (step.pauseThenSecond)
        item.commands << protocol::SignCommand { step.second, protocol::kLinkPause };
    if (step.item.kind == UploadItem::Kind::Link)
        m_run.sent.links[size_t(step.item.index)] = step.link;
    m_run.items << step.item;
    m_run.exchangeItems << item;
    return item;
}

void MainController::uploadItemEnded(int item, protocol::ItemResult result)
{
    if (m_operation != Operation::Upload || item < 0 || item >= m_run.items.size())
        return;
    if (result == protocol::ItemResult::Confirmed) {
        confirmUploadItem(m_state.image, m_state.flags, m_run.items.at(item), m_run.sent);
        changed();
    }
    emit uploadItemSettled(m_run.exchangeItems.at(item), result);
}

void MainController::uploadEnded(const protocol::ExchangeOutcome &outcome)
{
    m_run = {};
    m_state.uploadCaption = kUploadCaption;
    m_state.progressVisible = false;
    restoreButtons();
    if (!outcome.allConfirmed())
        showStatus(uploadSummary(outcome));
    reportLoss(outcome);
    emit uploadFinished(outcome);
}

} // namespace tavrin::core
