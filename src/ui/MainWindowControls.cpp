// The main window's controls: creating them and putting them where MainWindowLayout says.
#include "MainWindow.h"

#include "Controls.h"
#include "MainWindowLayout.h"
#include "Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringListModel>

namespace tavrin::ui {

using vocab::Attribute;

namespace {

size_t slot(Attribute a)
{
    return size_t(a);
}

QString arrayName(const char *name, int index)
{
    return QString::fromLatin1(name) + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

} // namespace

void MainWindow::buildHeader(QWidget *area)
{
    m_logo = button(area, QStringLiteral("TAVRIN"), "Image1");
    m_logo->setFlat(true);
    m_logo->setCursor(Qt::PointingHandCursor);
    m_logo->setToolTip(QStringLiteral("Open the Tavrin home page"));
    paintAsLogo(m_logo);
    place(m_logo, mainlayout::kLogo);

    auto *portLabel = label(area, QStringLiteral("&Port :"));
    place(portLabel, mainlayout::kPortLabel);
    m_ports = new QComboBox(area);
    m_ports->setObjectName(QStringLiteral("ComportsList"));
    portLabel->setBuddy(m_ports);

    auto *modelCaption = label(area, QStringLiteral("Model :"));
    m_model = label(area, QString(), "LEDSignModel");
    emphasize(m_model);
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
    const mainlayout::HeaderPlaces places = mainlayout::headerPlaces(contentTwips(m_ports));
    place(m_ports, places.ports);
    for (size_t i = 0; i < m_headerTail.size(); ++i)
        place(m_headerTail[i], places.tail[i]);
    if (places.neededWidth > m_widthTwips) {
        m_widthTwips = places.neededWidth;
        applyWindowSize();
    }
}

void MainWindow::buildLinkTable(QWidget *area)
{
    auto *box = new QGroupBox(QStringLiteral("Link Table"), area);
    box->setObjectName(QStringLiteral("LinkTable"));
    place(box, mainlayout::kLinkTable);
    place(label(box, QStringLiteral("Link")), mainlayout::kLinkHeading);
    place(label(box, QStringLiteral("Capcode(s)")), mainlayout::kCapcodeHeading);
    place(label(box, QStringLiteral("Priority")), mainlayout::kPriorityHeading);

    for (int i = 0; i < core::kLinks; ++i) {
        auto *id = new QLabel(vocab::linkLabel(i), box);
        id->setObjectName(QStringLiteral("LabelID") + QString::number(i));
        place(id, mainlayout::linkLabelPlace(i));
        m_linkLabels[size_t(i)] = id;

        auto *capcode = new QLineEdit(box);
        capcode->setObjectName(arrayName("Capcode0", i));
        capcode->setAccessibleName(QStringLiteral("Capcodes of link ") + QString::number(i));
        place(capcode, mainlayout::capcodePlace(i));
        m_capcodes[size_t(i)] = capcode;
        id->setBuddy(capcode);

        auto *priority = new QComboBox(box);
        priority->setObjectName(arrayName("Pri0", i));
        priority->setAccessibleName(QStringLiteral("Priority of link ") + QString::number(i));
        place(priority, mainlayout::linkPriorityPlace(i));
        m_linkPriorities[size_t(i)] = priority;
    }
}

void MainWindow::buildCommands(QWidget *area)
{
    m_autoID = new QCheckBox(QStringLiteral("Auto sequence messages"), area);
    m_autoID->setObjectName(QStringLiteral("AutoID"));
    place(m_autoID, mainlayout::kAutoId);
    m_forceOnID0 = new QCheckBox(QStringLiteral("Force all messages to ID 0"), area);
    m_forceOnID0->setObjectName(QStringLiteral("ForceOnID0"));
    place(m_forceOnID0, mainlayout::kForceOnId0);

    auto *userLabel = label(area, QStringLiteral("User Defined Reset Command"));
    place(userLabel, mainlayout::kUserCommandLabel);
    m_userCommand = new QLineEdit(area);
    m_userCommand->setObjectName(QStringLiteral("usercmd1"));
    userLabel->setBuddy(m_userCommand);
    place(m_userCommand, mainlayout::kUserCommand);

    struct CommandButton
    {
        QPushButton *MainWindow::*member;
        const char *caption;
        const char *name;
    };
    // Two a row, left to right.
    static constexpr std::array<CommandButton, 6> kButtons = { {
        { &MainWindow::m_download, "Download from Sign", "DownloadAll" },
        { &MainWindow::m_upload, "Upload to Sign", "UploadAll" },
        { &MainWindow::m_forceUpload, "Force Upload", "ForceUpload" },
        { &MainWindow::m_factoryDefaults, "Upload Factory Defaults", "UploadFactoryDef" },
        { &MainWindow::m_setupDefaultMsg, "Setup Default Message", "SetupDefaultMsg" },
        { &MainWindow::m_sendTestMsg, "Send Test Message", "SendTestMsg" },
    } };
    for (size_t i = 0; i < kButtons.size(); ++i) {
        const CommandButton &b = kButtons[i];
        this->*b.member = button(area, QString::fromLatin1(b.caption), b.name);
        place(this->*b.member, mainlayout::commandButtonPlace(int(i % 2), int(i / 2)));
    }

    m_progress = new QProgressBar(area);
    m_progress->setObjectName(QStringLiteral("ProgressUploadAll"));
    m_progress->setTextVisible(false);
    place(m_progress, mainlayout::kProgress);

    m_status = label(area, QString(), "Textout");
    emphasize(m_status, kNoticeColor);
    // Three lines: an upload that the sign did not confirm names each item left waiting.
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(m_status, mainlayout::kStatus);

    m_showPriority = button(area, QStringLiteral("Show Priority Settings"), "ShowPriority");
    place(m_showPriority, mainlayout::kPriorityToggle);
    m_hidePriority = button(area, QStringLiteral("Hide Priority Settings"), "HidePriority");
    place(m_hidePriority, mainlayout::kPriorityToggle);
}

void MainWindow::buildPriorityGrid(QWidget *area)
{
    using mainlayout::kColumns;
    for (const mainlayout::Column &column : kColumns) {
        auto *heading = label(area, QString::fromLatin1(column.heading));
        heading->setObjectName(QStringLiteral("Heading") + QString::fromLatin1(column.heading));
        m_headings[slot(column.attribute)] = heading;
    }
    m_timeoutHeading = label(area, QStringLiteral("Timeout (Secs)"));
    // A column's lists share one list of entries, filled once per profile.
    for (auto &entries : m_attributeEntries)
        entries = new QStringListModel(this);

    for (int row = 0; row < core::kRows; ++row) {
        const QString rowName = vocab::priorityEntries().at(row);
        place(label(area, rowName), mainlayout::rowLabelPlace(row));
        for (const mainlayout::Column &column : kColumns) {
            auto *list = new QComboBox(area);
            list->setObjectName(QString::fromLatin1(column.name) + QString::number(row));
            list->setAccessibleName(QString::fromLatin1(column.heading) + QLatin1Char(' ')
                                    + rowName);
            list->setMaxVisibleItems(15);
            list->setModel(m_attributeEntries[slot(column.attribute)]);
            m_rowLists[size_t(row)][slot(column.attribute)] = list;
        }
        auto *timeout = new QLineEdit(area);
        timeout->setObjectName(QStringLiteral("TimeoutP") + QString::number(row));
        timeout->setAccessibleName(QStringLiteral("Timeout ") + rowName);
        m_timeouts[size_t(row)] = timeout;
    }
}

void MainWindow::applyGridLayout()
{
    using namespace mainlayout;
    const vocab::MainProfile &profile = m_controller.state().profile;
    const GridPlaces places = gridPlaces(profile.vx903, m_contentTwips);
    for (Attribute attribute : vocab::kAttributes) {
        const Span span = places.columns[slot(attribute)];
        place(m_headings[slot(attribute)], span.left, kHeadingTop, span.width, kHeadingHeight);
        for (int row = 0; row < core::kRows; ++row) {
            place(m_rowLists[size_t(row)][slot(attribute)], span.left, kRowTops[size_t(row)],
                  span.width, kRowHeight);
        }
    }
    place(m_timeoutHeading, places.timeoutLeft, kHeadingTop, kTimeoutHeadingWidth, kHeadingHeight);
    for (int row = 0; row < core::kRows; ++row) {
        place(m_timeouts[size_t(row)], places.timeoutLeft, kRowTops[size_t(row)], kTimeout.width,
              kRowHeight);
        auto &lists = m_rowLists[size_t(row)];
        lists[slot(Attribute::Speed)]->setEnabled(profile.speedAndAlignmentEnabled);
        lists[slot(Attribute::Alignment)]->setEnabled(profile.speedAndAlignmentEnabled);
    }
    if (places.neededWidth > m_widthTwips) {
        m_widthTwips = places.neededWidth;
        applyWindowSize();
    }
}

} // namespace tavrin::ui
