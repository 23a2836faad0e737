#pragma once

#include "MainController.h"
#include "UpdateCheck.h"

#include <QMainWindow>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStringListModel;

namespace tavrin::ui {

// The main window: the sign's configuration grid, link table and commands. It binds its
// controls to the controller's state and forwards the operator's actions to it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    core::MainController &controller() { return m_controller; }

    // The address the logo opens: TAVRIN_HOME_PAGE, else the one configured at build time.
    static QUrl homePage();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Creating the controls and placing them (MainWindowControls.cpp).
    void buildHeader(QWidget *area);
    void buildLinkTable(QWidget *area);
    void buildCommands(QWidget *area);
    void buildPriorityGrid(QWidget *area);
    void layoutHeader();
    void applyGridLayout();

    // The menus and what they open (MainWindowMenus.cpp).
    void buildMenus();
    void openHomePage();
    void startFirmwareTool();
    void choosePortDevices();
    void openFile();
    void saveAs();

    // The update check around the start-up port search (MainWindowUpdateCheck.cpp).
    void connectUpdateCheck();

    // The controls bound to the controller.
    void connectControls();
    void refresh();
    void refillLists();
    void setWindowHeight(int twips);
    void applyWindowSize();
    void showMessage(const QString &title, const QString &text);

    update::UpdateCheck m_updateCheck; // first: it outlives the controller, whose search runs it
    core::MainController m_controller;

    std::array<std::array<QComboBox *, vocab::kAttributes.size()>, core::kRows> m_rowLists {};
    std::array<QStringListModel *, vocab::kAttributes.size()> m_attributeEntries {};
    std::array<QLineEdit *, core::kRows> m_timeouts {};
    std::array<QLineEdit *, core::kLinks> m_capcodes {};
    std::array<QComboBox *, core::kLinks> m_linkPriorities {};
    std::array<QLabel *, core::kLinks> m_linkLabels {};

    QComboBox *m_ports = nullptr;
    QCheckBox *m_autoID = nullptr;
    QCheckBox *m_forceOnID0 = nullptr;
    QLineEdit *m_userCommand = nullptr;

    // Closed lists show their longest entry whole, so the grid's columns and the header widen
    // beyond the design where the entries need it; widths in twips.
    std::array<QLabel *, vocab::kAttributes.size()> m_headings {};
    QLabel *m_timeoutHeading = nullptr;
    std::array<int, vocab::kAttributes.size()> m_contentTwips {};
    std::array<QWidget *, 6> m_headerTail {}; // right of the port list, in design order
    int m_widthTwips; // the design's width until a list or the header needs more
    int m_heightTwips = core::MainController::kHiddenHeightTwips;
    // The port list's tool tips name each port's device; read when the ports change.
    bool m_portTipsStale = true;
    QStringList m_portTipFailures;
    QLabel *m_status = nullptr;
    QLabel *m_model = nullptr;
    QLabel *m_firmwareCount = nullptr;
    QLabel *m_firmwareCountLabel = nullptr;
    QLabel *m_testLabel = nullptr;
    QLabel *m_versionCheck = nullptr;
    QProgressBar *m_progress = nullptr;

    QPushButton *m_download = nullptr;
    QPushButton *m_upload = nullptr;
    QPushButton *m_forceUpload = nullptr;
    QPushButton *m_factoryDefaults = nullptr;
    QPushButton *m_setupDefaultMsg = nullptr;
    QPushButton *m_sendTestMsg = nullptr;
    QPushButton *m_showPriority = nullptr;
    QPushButton *m_hidePriority = nullptr;
    QPushButton *m_logo = nullptr;
};

} // namespace tavrin::ui
