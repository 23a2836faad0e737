#include "MainWindow.h"
#include "MainWindowLayout.h"
#include "SignSimProcess.h"
#include "TestHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using tavrin::ui::MainWindow;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_window.reset(); }
    void portFailureShownWhole();
    void priorityPanel();
    void statusAndLinkLabels();
    void operatorEditsReachTheState();
    void downloadFillsTheWindow_data();
    void downloadFillsTheWindow();

private:
    std::unique_ptr<MainWindow> m_window;
};

void TestMainWindow::init()
{
    isolateSerialPorts();
    m_window = std::make_unique<MainWindow>();
    m_window->controller().stopPortSearch(); // no search unless a test wants one
    m_window->show();
}

void TestMainWindow::portFailureShownWhole()
{
    QCOMPARE(child<QComboBox>(*m_window, "FontP0")->currentIndex(), -1); // nothing read yet
    // A port that failed to open shows its text whole, and its tool tip says where and why.
    auto *ports = child<QComboBox>(*m_window, "ComportsList");
    const QString device = QStringLiteral("/nonexistent/tavrin-test/com2");
    qputenv("TAVRIN_COM2", device.toLocal8Bit());
    m_window->controller().setPortIndex(1);
    m_window->controller().download();
    QVERIFY(ports->itemText(1).startsWith(QStringLiteral("2-")));
    QVERIFY(ports->width() >= ports->fontMetrics().horizontalAdvance(ports->itemText(1)));
    QVERIFY(child<QLabel>(*m_window, "LEDSignModel")->x() > ports->geometry().right());
    using namespace tavrin::ui::mainlayout; // longer texts are read in the tool tip
    QCOMPARE(headerPlaces(99999).ports.width, kPortsMaxWidth);
    const QString tip = ports->itemData(1, Qt::ToolTipRole).toString();
    QVERIFY2(tip.startsWith(device) && tip.contains(ports->itemText(1).mid(2)), qPrintable(tip));

    // Closing stops the search.
    m_window->controller().searchPorts();
    QVERIFY(m_window->controller().isSearching());
    m_window->close();
    QTRY_VERIFY(!m_window->controller().isSearching());
}

void TestMainWindow::priorityPanel()
{
    const int collapsed = m_window->height();
    const QWidget *lastRow = child<QWidget>(*m_window, "TimeoutP4");
    const auto lastRowInside = [&] {
        return lastRow->mapTo(m_window.get(), QPoint(0, lastRow->height())).y()
            <= m_window->height();
    };
    QVERIFY(!lastRowInside());
    child<QPushButton>(*m_window, "ShowPriority")->click();
    QVERIFY(lastRowInside() && child<QPushButton>(*m_window, "HidePriority")->isVisible());
    child<QPushButton>(*m_window, "HidePriority")->click();
    QCOMPARE(m_window->height(), collapsed);
    QVERIFY(child<QPushButton>(*m_window, "ShowPriority")->isVisible());
}

void TestMainWindow::statusAndLinkLabels()
{
    auto &controller = m_window->controller();
    controller.showStatus(QStringLiteral("Linked ID : 3"));
    auto *status = child<QLabel>(*m_window, "Textout");
    QVERIFY(status->isVisible());
    QCOMPARE(status->text(), QStringLiteral("Linked ID : 3"));
    QTRY_VERIFY_WITH_TIMEOUT(!status->isVisible(), 7000); // TextClear's first tick
    QVERIFY(status->text().isEmpty() && !controller.state().statusVisible);

    child<QCheckBox>(*m_window, "ForceOnID0")->click();
    QCOMPARE(child<QLabel>(*m_window, "LabelID6")->text(), QStringLiteral("ID   0"));
    child<QCheckBox>(*m_window, "ForceOnID0")->click();
    QCOMPARE(child<QLabel>(*m_window, "LabelID6")->text(), QStringLiteral("ID   6"));
    QCOMPARE(controller.state().flags, tavrin::core::PendingFlags {}); // relabelling sends nothing
}

void TestMainWindow::operatorEditsReachTheState()
{
    const auto &state = m_window->controller().state();
    for (const auto &[name, index] : { std::pair { "PauseP0", 4 }, std::pair { "PauseP2", 1 } }) {
        child<QComboBox>(*m_window, name)->setCurrentIndex(index);
        emit child<QComboBox>(*m_window, name)->activated(index);
    }
    QCOMPARE(state.config.rows[0].pause, 4);
    QVERIFY(state.flags.row[0]); // a chosen pause marks its row for the upload
    QCOMPARE(state.config.rows[2].pause, 1);
    QVERIFY(!state.flags.row[2]); // other lists have no change handler

    QTest::keyClicks(child<QLineEdit>(*m_window, "TimeoutP1"), QStringLiteral("25"));
    QTest::keyClicks(child<QLineEdit>(*m_window, "Capcode0(4)"), QStringLiteral("9001"));
    QTest::keyClicks(child<QLineEdit>(*m_window, "usercmd1"), QStringLiteral("DIM"));
    QCOMPARE(state.config.rows[1].timeout, QStringLiteral("25"));
    QCOMPARE(state.config.links[4].capcode, QStringLiteral("9001"));
    QCOMPARE(state.config.userCommand, QStringLiteral("DIM"));
}

void TestMainWindow::downloadFillsTheWindow_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("KR4410") << "KR4410";
    QTest::newRow("VX903") << "VX903";
}

void TestMainWindow::downloadFillsTheWindow()
{
    QFETCH(QString, model);
    SignSimProcess sim({ QStringLiteral("--model"), model });
    QVERIFY(sim.startOnPort(1));

    child<QPushButton>(*m_window, "DownloadAll")->click();
    QVERIFY(!child<QPushButton>(*m_window, "DownloadAll")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(*m_window, "LEDSignModel")->text(), model, 5000);
    QTRY_VERIFY(child<QPushButton>(*m_window, "DownloadAll")->isEnabled());

    const auto &state = m_window->controller().state();
    QCOMPARE(child<QComboBox>(*m_window, "FontP2")->currentIndex(), int(state.config.rows[2].font));
    // Every closed list shows its longest entry whole, and no two columns overlap.
    int right = 0;
    for (const char *name : { "FontP3", "StyleP3", "ColorP3", "SpeedP3", "AlignmentP3", "PauseP3",
                              "BeepP3", "TimeoutP3" }) {
        auto *w = child<QWidget>(*m_window, name);
        QVERIFY2(w->x() >= right, name);
        right = w->geometry().right();
        QVERIFY(right < m_window->width());
        if (auto *list = qobject_cast<QComboBox *>(w)) {
            QComboBox probe;
            probe.setFont(list->font());
            probe.setSizeAdjustPolicy(QComboBox::AdjustToContents);
            for (int i = 0; i < list->count(); ++i)
                probe.addItem(list->itemText(i));
            QVERIFY2(list->width() >= probe.sizeHint().width(), name);
        }
    }
    QCOMPARE(child<QComboBox>(*m_window, "SpeedP0")->isEnabled(), model != QStringLiteral("VX903"));
    QCOMPARE(child<QComboBox>(*m_window, "StyleP4")->count(),
             model == QStringLiteral("VX903") ? 23 : 28);
    QCOMPARE(child<QLineEdit>(*m_window, "Capcode0(1)")->text(), state.config.links[1].capcode);
    QCOMPARE(child<QComboBox>(*m_window, "Pri0(1)")->currentIndex(),
             int(state.config.links[1].priority));
    QCOMPARE(child<QLineEdit>(*m_window, "usercmd1")->text(), state.config.userCommand);
    QCOMPARE(child<QCheckBox>(*m_window, "AutoID")->isChecked(), state.config.autoID == 1);
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
