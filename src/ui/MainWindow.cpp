#include "MainWindow.h"

#include "Controls.h"
#include "UpdateDialog.h"
#include "AboutDialog.h"
#include "TestMessageDialog.h"
#include "DefaultMessageDialog.h"
#include "Twips.h"
#include "FactoryResetDialog.h"

#include "AppTitle.h"
#include "PortMap.h"
#include "MainFile.h"
#include "FirmwareTool.h"
#include "UpdateSettings.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>

#include <algorithm>

#ifndef TAVRIN_HOME_PAGE_DEFAULT
#define TAVRIN_HOME_PAGE_DEFAULT "https://tavrin.example.com/"
#endif

namespace tavrin::ui {

using vocab::Attribute;

namespace {

// Twips between the window's outer height and its client area (title bar and borders).
constexpr int kFrameTwips = 495;

// Priority grid: the design's row tops and column positions.
constexpr std::array kRowTops = { 5565, 6202, 6839, 7476, 8115 };
constexpr int kRowHeight = 315;
constexpr int kHeadingTop = 5280;

struct Column
{
    Attribute attribute;
    const char *name; // object name prefix, row digit appended
    const char *heading;
    int left;
    int width;
};
// Left to right as the grid shows them; font and effect move with the model profile.
constexpr std::array<Column, 7> kColumns = { {
    { Attribute::Font, "FontP", "Font", 1140, 2280 },
    { Attribute::Style, "StyleP", "Style", 3510, 1250 },
    { Attribute::Color, "ColorP", "Color", 4860, 1245 },
    { Attribute::Speed, "SpeedP", "Speed", 6165, 885 },
    { Attribute::Alignment, "AlignmentP", "Align", 7140, 850 },
    { Attribute::Pause, "PauseP", "Pause", 8070, 570 },
    { Attribute::Beep, "BeepP", "Beep", 8745, 960 },
} };
constexpr int kTimeoutLeft = 9810;
constexpr int kTimeoutWidth = 1100;
constexpr int kTimeoutHeadingWidth = 1320;
constexpr int kColumnGap = 90;
constexpr int kRightMargin = 120;

// The port list and what sits right of it in the header.
constexpr int kPortsLeft = 3120;
constexpr int kPortsWidth = 1320;
constexpr int kPortsMaxWidth = 4500; // longer failure texts are read in the tool tip
constexpr std::array kHeaderTailLefts = { 4680, 5400, 6960, 7860, 9240, 4680 };
constexpr std::array kHeaderTailWidths = { 720, 1500, 900, 1200, 1740, 2000 };

// Width in twips that a closed list needs to show its longest entry whole.
int contentTwips(QComboBox *list)
{
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return list->sizeHint().width() * kTwipsPerPixel;
}

size_t slot(Attribute a)
{
    return size_t(a);
}

QString arrayName(const char *name, int index)
{
    return QString::fromLatin1(name) + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

void setTextIfChanged(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text) {
        const QSignalBlocker block(edit);
        edit->setText(text);
    }
}

void setIndex(QComboBox *combo, int index)
{
    if (combo->currentIndex() != index) {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(index);
    }
}

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
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

    setWindowHeight(core::MainController::kHiddenHeightTwips);
    m_controller.startPortSearch();
}

MainWindow::~MainWindow() = default;

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
    connect(exit, &QAction::triggered, this, &QWidget::close); // close

    QMenu *tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("signTools"));
    QAction *upgrade = tools->addAction(QStringLiteral("&Upgrade"));
    upgrade->setObjectName(QStringLiteral("signUpgrade"));
    connect(upgrade, &QAction::triggered, this, &MainWindow::startFirmwareTool);
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
    connect(about, &QAction::triggered, this, [this] { // showAbout
        AboutDialog window(windowTitle(), this);
        window.exec();
    });
}

void MainWindow::buildHeader(QWidget *area)
{
    m_logo = button(area, QStringLiteral("TAVRIN"), "Image1");
    m_logo->setFlat(true);
    m_logo->setCursor(Qt::PointingHandCursor);
    m_logo->setToolTip(QStringLiteral("Open the Tavrin home page"));
    m_logo->setStyleSheet(QStringLiteral(
        "QPushButton { color: #d22; background: #111; font: bold 20px; letter-spacing: 3px;"
        " border-radius: 4px; }"));
    place(m_logo, 120, 120, 2160, 555);

    auto *portLabel = label(area, QStringLiteral("&Port :"));
    place(portLabel, 2520, 150, 600, 255);
    m_ports = new QComboBox(area);
    m_ports->setObjectName(QStringLiteral("ComportsList"));
    portLabel->setBuddy(m_ports);

    auto *modelCaption = label(area, QStringLiteral("Model :"));
    m_model = label(area, QString(), "LEDSignModel");
    m_model->setStyleSheet(QStringLiteral("font-weight: bold"));
    m_firmwareCountLabel = label(area, QStringLiteral("Build No :"), "FCountLabel");
    m_firmwareCount = label(area, QString(), "FCount");
    m_testLabel = label(area, QString(), "TestLabel");
    m_versionCheck = label(area, QStringLiteral("Version Check"), "VersionCheckLabel");
    m_versionCheck->hide();
    m_headerTail = { modelCaption,    m_model,     m_firmwareCountLabel,
                     m_firmwareCount, m_testLabel, m_versionCheck };
    layoutHeader();
}

void MainWindow::layoutHeader()
{
    const int width = std::clamp(contentTwips(m_ports), kPortsWidth, kPortsMaxWidth);
    place(m_ports, kPortsLeft, 105, width, 330);
    const int shift = width - kPortsWidth;
    for (size_t i = 0; i < m_headerTail.size(); ++i) {
        const int top = m_headerTail[i] == m_versionCheck ? 420 : 150;
        place(m_headerTail[i], kHeaderTailLefts[i] + shift, top, kHeaderTailWidths[i], 255);
    }
    const int needed = kHeaderTailLefts[4] + shift + kHeaderTailWidths[4] + kRightMargin;
    if (needed > m_widthTwips) {
        m_widthTwips = needed;
        applyWindowSize();
    }
}

void MainWindow::buildLinkTable(QWidget *area)
{
    auto *box = new QGroupBox(QStringLiteral("Link Table"), area);
    box->setObjectName(QStringLiteral("LinkTable"));
    place(box, 120, 780, 6000, 3600);

    auto *idHeading = label(box, QStringLiteral("Link"));
    place(idHeading, 120, 300, 800, 255);
    auto *capHeading = label(box, QStringLiteral("Capcode(s)"));
    place(capHeading, 1000, 300, 2800, 255);
    auto *priHeading = label(box, QStringLiteral("Priority"));
    place(priHeading, 4200, 300, 1500, 255);

    for (int i = 0; i < core::kLinks; ++i) {
        const int top = 600 + i * 370;
        auto *id = new QLabel(vocab::linkLabel(i), box);
        id->setObjectName(QStringLiteral("LabelID") + QString::number(i));
        place(id, 120, top + 30, 800, 255);
        m_linkLabels[size_t(i)] = id;

        auto *capcode = new QLineEdit(box);
        capcode->setObjectName(arrayName("Capcode0", i));
        capcode->setAccessibleName(QStringLiteral("Capcodes of link ") + QString::number(i));
        place(capcode, 1000, top, 3060, 315);
        m_capcodes[size_t(i)] = capcode;
        id->setBuddy(capcode);

        auto *priority = new QComboBox(box);
        priority->setObjectName(arrayName("Pri0", i));
        priority->setAccessibleName(QStringLiteral("Priority of link ") + QString::number(i));
        place(priority, 4200, top, 1560, 315);
        m_linkPriorities[size_t(i)] = priority;
    }
}

void MainWindow::buildCommands(QWidget *area)
{
    constexpr int left = 6360;
    constexpr int width = 4620;

    m_autoID = new QCheckBox(QStringLiteral("Auto sequence messages"), area);
    m_autoID->setObjectName(QStringLiteral("AutoID"));
    place(m_autoID, left, 840, width, 300);

    m_forceOnID0 = new QCheckBox(QStringLiteral("Force all messages to ID 0"), area);
    m_forceOnID0->setObjectName(QStringLiteral("ForceOnID0"));
    place(m_forceOnID0, left, 1170, width, 300);

    auto *userLabel = label(area, QStringLiteral("User Defined Reset Command"));
    place(userLabel, left, 1560, width, 255);
    m_userCommand = new QLineEdit(area);
    m_userCommand->setObjectName(QStringLiteral("usercmd1"));
    userLabel->setBuddy(m_userCommand);
    place(m_userCommand, left, 1830, width, 315);

    const int half = (width - 120) / 2;
    const auto grid = [&](QPushButton *b, int column, int row) {
        place(b, left + column * (half + 120), 2340 + row * 480, half, 405);
    };
    m_download = button(area, QStringLiteral("Download from Sign"), "DownloadAll");
    grid(m_download, 0, 0);
    m_upload = button(area, QStringLiteral("Upload to Sign"), "UploadAll");
    grid(m_upload, 1, 0);
    m_forceUpload = button(area, QStringLiteral("Force Upload"), "ForceUpload");
    grid(m_forceUpload, 0, 1);
    m_factoryDefaults = button(area, QStringLiteral("Upload Factory Defaults"), "UploadFactoryDef");
    grid(m_factoryDefaults, 1, 1);
    m_setupDefaultMsg = button(area, QStringLiteral("Setup Default Message"), "SetupDefaultMsg");
    grid(m_setupDefaultMsg, 0, 2);
    m_sendTestMsg = button(area, QStringLiteral("Send Test Message"), "SendTestMsg");
    grid(m_sendTestMsg, 1, 2);

    m_progress = new QProgressBar(area);
    m_progress->setObjectName(QStringLiteral("ProgressUploadAll"));
    m_progress->setTextVisible(false);
    place(m_progress, left, 3840, width, 240);

    m_status = label(area, QString(), "Textout");
    m_status->setStyleSheet(QStringLiteral("color: #0645ad; font-weight: bold"));
    // Three lines: an upload that the sign did not confirm names each item left waiting.
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(m_status, left, 4140, width, 3 * 285);

    m_showPriority = button(area, QStringLiteral("Show Priority Settings"), "ShowPriority");
    place(m_showPriority, 120, 4470, 2600, 360);
    m_hidePriority = button(area, QStringLiteral("Hide Priority Settings"), "HidePriority");
    place(m_hidePriority, 120, 4470, 2600, 360);

    // Layout check controls of the design; they stay out of the operator's way.
}

void MainWindow::buildPriorityGrid(QWidget *area)
{
    for (const Column &column : kColumns) {
        auto *heading = label(area, QString::fromLatin1(column.heading));
        heading->setObjectName(QStringLiteral("Heading") + QString::fromLatin1(column.heading));
        m_headings[slot(column.attribute)] = heading;
    }
    // The heading is wider than its column, as the design's was.
    m_timeoutHeading = label(area, QStringLiteral("Timeout (Secs)"));

    for (int row = 0; row < core::kRows; ++row) {
        const int top = kRowTops[size_t(row)];
        const QString rowName = vocab::priorityEntries().at(row);
        place(label(area, rowName), 120, top + 30, 1000, 255);
        for (const Column &column : kColumns) {
            auto *list = new QComboBox(area);
            list->setObjectName(QString::fromLatin1(column.name) + QString::number(row));
            list->setAccessibleName(QString::fromLatin1(column.heading) + QLatin1Char(' ')
                                    + rowName);
            list->setMaxVisibleItems(15);
            m_rowLists[size_t(row)][slot(column.attribute)] = list;
        }
        auto *timeout = new QLineEdit(area);
        timeout->setObjectName(QStringLiteral("TimeoutP") + QString::number(row));
        timeout->setAccessibleName(QStringLiteral("Timeout ") + rowName);
        m_timeouts[size_t(row)] = timeout;
    }
}

void MainWindow::connectControls()
{
    auto &c = m_controller;
    connect(&c, &core::MainController::stateChanged, this, &MainWindow::refresh);
    connect(&c, &core::MainController::profileChanged, this, &MainWindow::refillLists);
    connect(&c, &core::MainController::windowHeightRequested, this, &MainWindow::setWindowHeight);
    connect(&c, &core::MainController::messageRequested, this, &MainWindow::showMessage);
    // Queued: the offer may come from a network reply, which should not wait on a window.
    connect(
        &c, &core::MainController::newVersionOffered, this,
        [this](const update::UpdateOffer &offer) {
            UpdateDialog window(offer, this);
            window.exec();
        },
        Qt::QueuedConnection);

    for (int row = 0; row < core::kRows; ++row) {
        for (Attribute attribute : vocab::kAttributes) {
            QComboBox *list = m_rowLists[size_t(row)][slot(attribute)];
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
    connect(m_factoryDefaults, &QPushButton::clicked, this, [this] { // confirmFactoryDefaults
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
    for (int row = 0; row < core::kRows; ++row) {
        for (Attribute attribute : vocab::kAttributes) {
            QComboBox *list = m_rowLists[size_t(row)][slot(attribute)];
            const QSignalBlocker block(list);
            list->clear();
            list->addItems(vocab::toStringList(s.profile.vocabulary(attribute)));
            list->setCurrentIndex(-1);
            if (row == 0)
                m_contentTwips[slot(attribute)] = contentTwips(list);
        }
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

void MainWindow::applyGridLayout()
{
    const core::MainState &s = m_controller.state();
    // Left to right, each column at its design place or pushed right by a wider one before it.
    int next = kColumns[0].left;
    for (const Column &column : kColumns) {
        int left = std::max(next, column.left);
        int width = column.width;
        if (column.attribute == Attribute::Font) {
            width = s.profile.fontWidth;
        } else if (column.attribute == Attribute::Style) {
            left = std::max(next, s.profile.styleLeft);
            width = s.profile.styleWidth;
        }
        width = std::max(width, m_contentTwips[slot(column.attribute)]);
        place(m_headings[slot(column.attribute)], left, kHeadingTop, width, 255);
        for (int row = 0; row < core::kRows; ++row) {
            place(m_rowLists[size_t(row)][slot(column.attribute)], left, kRowTops[size_t(row)],
                  width, kRowHeight);
        }
        next = left + width + kColumnGap;
    }
    const int timeoutLeft = std::max(next, kTimeoutLeft);
    place(m_timeoutHeading, timeoutLeft, kHeadingTop, kTimeoutHeadingWidth, 255);
    for (int row = 0; row < core::kRows; ++row) {
        place(m_timeouts[size_t(row)], timeoutLeft, kRowTops[size_t(row)], kTimeoutWidth,
              kRowHeight);
        auto &lists = m_rowLists[size_t(row)];
        lists[slot(Attribute::Speed)]->setEnabled(s.profile.speedAndAlignmentEnabled);
        lists[slot(Attribute::Alignment)]->setEnabled(s.profile.speedAndAlignmentEnabled);
    }
    const int width = std::max(
        { kWidthTwips, timeoutLeft + kTimeoutHeadingWidth + kRightMargin, m_widthTwips });
    if (width != m_widthTwips) {
        m_widthTwips = width;
        applyWindowSize();
    }
}

void MainWindow::refresh()
{
    const core::MainState &s = m_controller.state();
    for (int row = 0; row < core::kRows; ++row) {
        const core::PriorityRow &values = s.config.rows[size_t(row)];
        for (Attribute attribute : vocab::kAttributes)
            setIndex(m_rowLists[size_t(row)][slot(attribute)], values.code(attribute));
        setTextIfChanged(m_timeouts[size_t(row)], values.timeout);
    }
    applyGridLayout();

    for (int i = 0; i < core::kLinks; ++i) {
        setTextIfChanged(m_capcodes[size_t(i)], s.config.links[size_t(i)].capcode);
        setIndex(m_linkPriorities[size_t(i)], s.config.links[size_t(i)].priority);
        m_linkLabels[size_t(i)]->setText(s.linkLabels[size_t(i)]);
    }
    bool portsChanged = false;
    for (int i = 0; i < s.portEntries.size() && i < m_ports->count(); ++i) {
        if (m_ports->itemText(i) != s.portEntries.at(i)) {
            m_ports->setItemText(i, s.portEntries.at(i));
            portsChanged = true;
        }
        const QString failure = s.portFailures.value(i);
        const QString tip = failure.isEmpty()
            ? link::portToolTip(i + 1)
            : link::portToolTip(i + 1) + QLatin1Char('\n') + failure;
        if (m_ports->itemData(i, Qt::ToolTipRole).toString() != tip)
            m_ports->setItemData(i, tip, Qt::ToolTipRole);
    }
    if (portsChanged)
        layoutHeader();
    setIndex(m_ports, s.portIndex);

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
    m_versionCheck->setVisible(s.versionCheckVisible);

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
    setFixedSize(px(m_widthTwips), px(m_heightTwips - kFrameTwips));
}

void MainWindow::showMessage(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, this);
    box.exec();
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
    if (!core::saveConfiguration(path, m_controller.state(), m_controller.defaultMessage()))
        showMessage(core::kAppTitle, storage::kErrorSavingFile);
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

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_controller.stopPortSearch();
    event->accept();
}

} // namespace tavrin::ui
