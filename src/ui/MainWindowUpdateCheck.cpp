// The update check around the start-up port search: the download page loads while the ports
// are probed, and the offer, if any, opens once the search is over. The Tools menu turns it
// off for the next start.
#include "MainWindow.h"

#include "ModalWait.h"
#include "UpdateDialog.h"

#include "AppTitle.h"
#include "UpdateSettings.h"

#include <QLabel>

namespace tavrin::ui {

void MainWindow::connectUpdateCheck()
{
    connect(&m_controller, &core::MainController::searchStarted, this, [this] {
        if (update::checkAtStartup())
            m_updateCheck.startLoading(update::updateSite());
    });
    connect(&m_controller, &core::MainController::searchFinished, this, [this] {
        if (!update::checkAtStartup())
            return;
        m_updateCheck.check(core::kMainCaption);
        // Decided at once when the page is in; "Version Check" shows while it is not.
        m_versionCheck->setVisible(m_updateCheck.isWaiting());
    });
    connect(&m_updateCheck, &update::UpdateCheck::checkFinished, m_versionCheck, &QWidget::hide);
    // Queued: the offer may come from a network reply, which should not wait on a window.
    // It waits for any other modal window to close first.
    connect(
        &m_updateCheck, &update::UpdateCheck::newVersionOffered, this,
        [this](const update::UpdateOffer &offer) {
            runWhenNoModalWindow(this, [this, offer] {
                UpdateDialog window(offer, this);
                window.exec();
            });
        },
        Qt::QueuedConnection);
}

} // namespace tavrin::ui
