// The update check around the start-up port search: the page loads while the ports are
// probed, and the offer, if any, goes to the window once the search is over.
#include "AppTitle.h"
#include "MainController.h"

#include "UpdateSettings.h"

namespace tavrin::core {

void MainController::connectUpdateCheck()
{
    connect(&m_updateCheck, &update::UpdateCheck::newVersionOffered, this,
            &MainController::newVersionOffered);
    connect(&m_updateCheck, &update::UpdateCheck::checkFinished, this, [this] {
        if (m_state.versionCheckVisible) {
            m_state.versionCheckVisible = false;
            changed();
        }
    });
}

void MainController::startLoadingDownloadPage()
{
    if (m_updateCheckEnabled && update::checkAtStartup())
        m_updateCheck.startLoading(update::updateSite());
}

void MainController::runUpdateCheck()
{
    if (m_updateCheckEnabled && update::checkAtStartup())
        m_updateCheck.check(kMainCaption);
}

} // namespace tavrin::core
