#include "MainController.h"

namespace tavrin::core {

MainController::MainController(QObject *parent)
    : QObject(parent)
{
    m_searchPort.setInterval(kSearchPortInterval);
    m_textClear.setInterval(kTextClearDelay);
    connect(&m_textClear, &QTimer::timeout, this, &MainController::clearStatus);
    connect(&m_searchPort, &QTimer::timeout, this, &MainController::searchPorts);
    connect(&m_portSearch, &PortSearch::portRuledOut, this, &MainController::portRuledOut);
    connect(&m_portSearch, &PortSearch::finished, this, &MainController::searchEnded);
    connect(&m_exchange, &protocol::Exchange::lineReceived, this, &MainController::onExchangeLine);
    connect(&m_exchange, &protocol::Exchange::itemSettled, this, &MainController::uploadItemEnded);
    connect(&m_exchange, &protocol::Exchange::commandWritten, this, [this](const QString &command) {
        if (m_operation == Operation::Upload)
            emit uploadCommandSent(command);
    });
    connect(&m_exchange, &protocol::Exchange::finished, this, &MainController::onExchangeFinished);
}

MainController::~MainController() = default;

void MainController::startPortSearch()
{
    m_state.flags.row = {};
    // The lists are filled but nothing is selected until a download or a file sets them.
    m_state.profile = vocab::mainProfile(QString());
    m_state.portEntries = vocab::portEntries();
    m_state.portIndex = 0;
    for (auto &link : m_state.config.links)
        link.priority = -1;
    m_defaultMessage.saveSettingsTick = 1;
    m_defaultMessage.forgetConfigFile();
    emit profileChanged();
    changed();
    m_searchPort.start();
}

void MainController::setState(const MainState &state)
{
    const bool profileDiffers = state.profile.vx903 != m_state.profile.vx903;
    m_state = state;
    if (profileDiffers)
        emit profileChanged();
    changed();
}

void MainController::stopPortSearch()
{
    m_searchPort.stop();
    if (m_portSearch.isRunning())
        m_portSearch.stop(); // its end ends the search
    else if (m_searching)
        endSearch();
}

void MainController::setRowCode(int row, vocab::Attribute attribute, int code)
{
    m_state.selectRowCode(row, attribute, code);
    changed();
}

void MainController::chooseRowCode(int row, vocab::Attribute attribute, int code)
{
    // The operator's pause choice on the first two rows marks the row for upload even when
    // it picks the code already shown.
    if (attribute == vocab::Attribute::Pause && (row == 0 || row == 1))
        m_state.flags.row[size_t(row)] = true;
    setRowCode(row, attribute, code);
}

void MainController::setTimeoutText(int row, const QString &text)
{
    if (row < 0 || row >= kRows)
        return;
    m_state.config.rows[size_t(row)].timeout = text;
    changed();
}

void MainController::setCapcode(int link, const QString &text)
{
    if (link < 0 || link >= kLinks)
        return;
    m_state.config.links[size_t(link)].capcode = text;
    changed();
}

void MainController::setLinkPriority(int link, int code)
{
    m_state.selectLinkPriority(link, code);
    changed();
}

void MainController::setUserCommand(const QString &text)
{
    m_state.config.userCommand = text;
    changed();
}

void MainController::setPortIndex(int index)
{
    m_state.selectPort(index);
    changed();
}

void MainController::portDevicesChanged(const QList<int> &portNumbers)
{
    const QStringList names = vocab::portEntries();
    for (const int portNumber : portNumbers) {
        if (portNumber < 1 || portNumber > vocab::kPortCount)
            continue;
        m_state.portEntries[portNumber - 1] = names.value(portNumber - 1);
        m_state.portFailures[portNumber - 1].clear();
    }
    changed();
}

void MainController::showPriorities()
{
    m_state.priorityPanelShown = true;
    changed();
    emit windowHeightRequested(kShownHeightTwips);
}

void MainController::hidePriorities()
{
    m_state.priorityPanelShown = false;
    changed();
    emit windowHeightRequested(kHiddenHeightTwips);
}

void MainController::clearStatus()
{
    m_state.status.clear();
    m_state.statusVisible = false;
    m_textClear.stop();
    changed();
}

void MainController::setForceOnId0(bool ticked)
{
    m_state.forceOnID0 = ticked;
    for (int i = 0; i < kLinks; ++i)
        m_state.linkLabels[size_t(i)] = vocab::linkLabel(ticked ? 0 : i);
    changed();
}

void MainController::showStatus(const QString &text)
{
    m_state.status = text;
    m_state.statusVisible = true;
    m_textClear.start();
    changed();
}

} // namespace tavrin::core
