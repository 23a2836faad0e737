// The main window: its controls bound to the controller's state and its actions.
#include "MainWindow.h"

#include "Controls.h"
#include "DefaultMessageDialog.h"
#include "FactoryResetDialog.h"
#include "MainWindowLayout.h"
#include "TestMessageDialog.h"
#include "Twips.h"

#include "AppTitle.h"
#include "PortMap.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringListModel>

#include <optional>

namespace tavrin::ui {

using vocab::Attribute;

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , m_widthTwips(mainlayout::kWidth)
{
    setObjectName(QStringLiteral("TavrinMain"));
    setWindowTitle(core::kMainCaption);
    // The design's geometry was drawn for an 8-point dialog font.
    QFont designFont = font();
    designFont.setPointSize(8);
    setFont(designFont);

    auto *area = new QWidget(this);
    area->setObjectName(QStringLiteral("MainArea"));
    setCentralWidget(area);

    buildMenus();
    buildHeader(area);
    buildLinkTable(area);
    buildCommands(area);
    buildPriorityGrid(area);
    connectControls();
    connectUpdateCheck();

    setWindowHeight(core::MainController::kHiddenHeightTwips);
    m_controller.startPortSearch();
}

MainWindow::~MainWindow() = default;

void MainWindow::connectControls()
{
    auto &c = m_controller;
    connect(&c, &core::MainController::stateChanged, this, &MainWindow::refresh);
    connect(&c, &core::MainController::profileChanged, this, &MainWindow::refillLists);
    connect(&c, &core::MainController::windowHeightRequested, this, &MainWindow::setWindowHeight);
    connect(&c, &core::MainController::messageRequested, this, &MainWindow::showMessage);
    // A search reads every port's device afresh, an adapter plugged in since included.
    connect(&c, &core::MainController::searchStarted, this, [this] { m_portTipsStale = true; });

    for (int row = 0; row < core::kRows; ++row) {
        for (Attribute attribute : vocab::kAttributes) {
            QComboBox *list = m_rowLists[size_t(row)][size_t(attribute)];
            connect(list, &QComboBox::activated, this, [this, row, attribute](int index) {
                m_controller.chooseRowCode(row, attribute, index);
            });
        }
        connect(m_timeouts[size_t(row)], &QLineEdit::textEdited, this,
                [this, row](const QString &text) { m_controller.setTimeoutText(row, text); });
    }
    for (int i = 0; i < core::kLinks; ++i) {
        connect(m_capcodes[size_t(i)], &QLineEdit::textEdited, this,
                [this, i](const QString &text) { m_controller.setCapcode(i, text); });
        connect(m_linkPriorities[size_t(i)], &QComboBox::activated, this,
                [this, i](int index) { m_controller.setLinkPriority(i, index); });
    }
    connect(m_userCommand, &QLineEdit::textEdited, &c, &core::MainController::setUserCommand);
    connect(m_ports, &QComboBox::activated, &c, &core::MainController::setPortIndex);
    connect(m_forceOnID0, &QCheckBox::clicked, &c, &core::MainController::setForceOnId0);

    connect(m_showPriority, &QPushButton::clicked, &c, &core::MainController::showPriorities);
    connect(m_hidePriority, &QPushButton::clicked, &c, &core::MainController::hidePriorities);
    connect(m_logo, &QPushButton::clicked, this, &MainWindow::openHomePage);

    // The box is set by the handler, so its own toggle is overwritten by the refresh.
    connect(m_autoID, &QCheckBox::clicked, &c, &core::MainController::toggleIdMode);
    connect(m_download, &QPushButton::clicked, &c, &core::MainController::download);
    connect(m_upload, &QPushButton::clicked, &c, &core::MainController::upload);
    connect(m_forceUpload, &QPushButton::clicked, &c, &core::MainController::uploadEverything);
    connect(m_factoryDefaults, &QPushButton::clicked, this, [this] {
        FactoryResetDialog window(m_controller, this);
        window.exec();
    });
    connect(m_setupDefaultMsg, &QPushButton::clicked, this, [this] {
        m_controller.releaseLine();
        DefaultMessageDialog window(m_controller, this);
        window.exec();
        m_setupDefaultMsg->setToolTip(m_controller.defaultMessage().message.summary());
    });
    connect(m_sendTestMsg, &QPushButton::clicked, this, [this] {
        m_controller.releaseLine();
        TestMessageDialog window(m_controller, this);
        window.exec();
    });
}

void MainWindow::refillLists()
{
    const core::MainState &s = m_controller.state();
    for (Attribute attribute : vocab::kAttributes) {
        std::array<std::optional<QSignalBlocker>, core::kRows> blocks;
        for (int row = 0; row < core::kRows; ++row)
            blocks[size_t(row)].emplace(m_rowLists[size_t(row)][size_t(attribute)]);
        m_attributeEntries[size_t(attribute)]->setStringList(
            vocab::toStringList(s.profile.vocabulary(attribute)));
        for (int row = 0; row < core::kRows; ++row)
            m_rowLists[size_t(row)][size_t(attribute)]->setCurrentIndex(-1);
        m_contentTwips[size_t(attribute)] = contentTwips(m_rowLists[0][size_t(attribute)]);
    }
    if (m_ports->count() != s.portEntries.size()) {
        const QSignalBlocker block(m_ports);
        m_ports->clear();
        m_ports->addItems(s.portEntries);
    }
    for (QComboBox *priority : m_linkPriorities) {
        if (priority->count() == 0) {
            const QSignalBlocker block(priority);
            priority->addItems(vocab::priorityEntries());
            priority->setCurrentIndex(-1);
        }
    }
    refresh();
}

void MainWindow::refresh()
{
    const core::MainState &s = m_controller.state();
    for (int row = 0; row < core::kRows; ++row) {
        const core::PriorityRow &values = s.config.rows[size_t(row)];
        for (Attribute attribute : vocab::kAttributes)
            selectIfChanged(m_rowLists[size_t(row)][size_t(attribute)], values.code(attribute));
        setTextIfChanged(m_timeouts[size_t(row)], values.timeout);
    }
    applyGridLayout();

    for (int i = 0; i < core::kLinks; ++i) {
        setTextIfChanged(m_capcodes[size_t(i)], s.config.links[size_t(i)].capcode);
        selectIfChanged(m_linkPriorities[size_t(i)], s.config.links[size_t(i)].priority);
        m_linkLabels[size_t(i)]->setText(s.linkLabels[size_t(i)]);
    }
    bool portsChanged = false;
    for (int i = 0; i < s.portEntries.size() && i < m_ports->count(); ++i) {
        if (m_ports->itemText(i) != s.portEntries.at(i)) {
            m_ports->setItemText(i, s.portEntries.at(i));
            portsChanged = true;
        }
    }
    // The devices are read again only when something about the ports changed, not on every
    // keystroke: reading them costs the settings file and, now and then, the system's list.
    if (m_portTipsStale || s.portFailures != m_portTipFailures) {
        for (int i = 0; i < s.portEntries.size() && i < m_ports->count(); ++i) {
            const QString failure = s.portFailures.value(i);
            const QString tip = failure.isEmpty()
                ? link::portToolTip(i + 1)
                : link::portToolTip(i + 1) + QLatin1Char('\n') + failure;
            if (m_ports->itemData(i, Qt::ToolTipRole).toString() != tip)
                m_ports->setItemData(i, tip, Qt::ToolTipRole);
        }
        m_portTipFailures = s.portFailures;
        m_portTipsStale = false;
    }
    if (portsChanged)
        layoutHeader();
    selectIfChanged(m_ports, s.portIndex);

    {
        const QSignalBlocker block(m_autoID);
        m_autoID->setChecked(s.config.autoID == 1);
    }
    m_autoID->setEnabled(s.autoIDEnabled);
    {
        const QSignalBlocker block(m_forceOnID0);
        m_forceOnID0->setChecked(s.forceOnID0);
    }
    setTextIfChanged(m_userCommand, s.config.userCommand);

    m_status->setText(s.status);
    m_status->setVisible(s.statusVisible);
    m_model->setText(s.modelLabel);
    m_firmwareCount->setText(s.firmwareCount);
    m_firmwareCount->setToolTip(s.firmwareCountToolTip);
    m_firmwareCountLabel->setToolTip(s.firmwareCountToolTip);
    m_testLabel->setText(s.testLabel);

    m_progress->setMaximum(s.progressMaximum);
    m_progress->setValue(qMin(s.progressValue, s.progressMaximum));
    m_progress->setVisible(s.progressVisible);

    m_download->setText(s.downloadCaption);
    m_download->setEnabled(s.downloadEnabled);
    m_upload->setText(s.uploadCaption);
    m_upload->setEnabled(s.uploadEnabled);
    m_factoryDefaults->setEnabled(s.factoryDefaultsEnabled);

    m_showPriority->setVisible(!s.priorityPanelShown);
    m_hidePriority->setVisible(s.priorityPanelShown);
}

void MainWindow::setWindowHeight(int twips)
{
    // Restoring the normal state first keeps a maximised window from ignoring the height.
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))
        setWindowState(Qt::WindowNoState);
    m_heightTwips = twips;
    applyWindowSize();
}

void MainWindow::applyWindowSize()
{
    setFixedSize(px(m_widthTwips), px(m_heightTwips - mainlayout::kFrame));
}

void MainWindow::showMessage(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
    box.exec();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_controller.stopPortSearch();
    event->accept();
}

} // namespace tavrin::ui
