// The main window's menus and what they open: configuration files, the firmware tool, the
// About window and the home page.
#include "MainWindow.h"

#include "AboutDialog.h"
#include "PortDevicesDialog.h"

#include "AppTitle.h"
#include "FirmwareTool.h"
#include "MainFile.h"
#include "PortMap.h"
#include "UpdateSettings.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMenuBar>
#include <QPushButton>
#include <QUrl>

#ifndef TAVRIN_HOME_PAGE_DEFAULT
#define TAVRIN_HOME_PAGE_DEFAULT "https://tavrin.example.com/"
#endif

namespace tavrin::ui {

QUrl MainWindow::homePage()
{
    const QString fromEnvironment = qEnvironmentVariable("TAVRIN_HOME_PAGE");
    return QUrl(fromEnvironment.isEmpty() ? QStringLiteral(TAVRIN_HOME_PAGE_DEFAULT)
                                          : fromEnvironment);
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("signFile"));
    QAction *open = file->addAction(QStringLiteral("&Open"));
    open->setObjectName(QStringLiteral("signOpenFile"));
    connect(open, &QAction::triggered, this, &MainWindow::openFile);
    QAction *save = file->addAction(QStringLiteral("Save"));
    save->setObjectName(QStringLiteral("signSaveAs"));
    connect(save, &QAction::triggered, this, &MainWindow::saveAs);
    file->addSeparator();
    QAction *exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("signExit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("signTools"));
    QAction *upgrade = tools->addAction(QStringLiteral("&Upgrade"));
    upgrade->setObjectName(QStringLiteral("signUpgrade"));
    connect(upgrade, &QAction::triggered, this, &MainWindow::startFirmwareTool);
    QAction *portDevices = tools->addAction(QStringLiteral("Port Devices…"));
    portDevices->setObjectName(QStringLiteral("signPortDevices"));
    connect(portDevices, &QAction::triggered, this, &MainWindow::choosePortDevices);
    QAction *checkAtStartup
        = tools->addAction(QStringLiteral("Check for a New Version at Start-up"));
    checkAtStartup->setObjectName(QStringLiteral("signCheckAtStartup"));
    checkAtStartup->setCheckable(true);
    checkAtStartup->setChecked(update::checkAtStartup());
    connect(checkAtStartup, &QAction::toggled, this, &update::setCheckAtStartup);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("signHelp"));
    QAction *about = help->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("signAbout"));
    connect(about, &QAction::triggered, this, [this] {
        AboutDialog window(windowTitle(), this);
        window.exec();
    });
}

void MainWindow::choosePortDevices()
{
    QStringList before;
    for (int port = 1; port <= vocab::kPortCount; ++port)
        before << link::deviceForPort(port);
    PortDevicesDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QList<int> changed;
    for (int port = 1; port <= vocab::kPortCount; ++port) {
        if (link::deviceForPort(port) != before.at(port - 1))
            changed << port;
    }
    m_portTipsStale = true; // the refresh shows the new devices in the tool tips
    m_controller.portDevicesChanged(changed);
}

void MainWindow::startFirmwareTool()
{
    const QString error = update::launchFirmwareTool(QCoreApplication::applicationDirPath());
    if (!error.isEmpty())
        showMessage(core::kAppTitle, error);
}

void MainWindow::openHomePage()
{
    QDesktopServices::openUrl(homePage());
}

void MainWindow::saveAs()
{
    const QString path = QFileDialog::getSaveFileName(this, QString(), QString(),
                                                      storage::kConfigFileDialogFilter);
    if (path.isEmpty())
        return;
    const storage::SaveResult saved
        = core::saveConfiguration(path, m_controller.state(), m_controller.defaultMessage());
    if (!saved)
        showMessage(core::kAppTitle, storage::savingFailureText(path, saved));
}

void MainWindow::openFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                      storage::kConfigFileDialogFilter);
    if (!path.isEmpty()) {
        core::MainState state = m_controller.state();
        const storage::ReadResult result
            = core::openConfiguration(path, state, m_controller.defaultMessage());
        m_controller.setState(state);
        if (result.ok)
            m_setupDefaultMsg->setToolTip(result.toolTip);
        if (const QString message = result.message(); !message.isEmpty())
            showMessage(core::kAppTitle, message);
    }
    showMessage(storage::kSuggestionTitle, storage::kSuggestionText);
}

} // namespace tavrin::ui
