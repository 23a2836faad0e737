#include "SignSimProcess.h"
#include "ui/TavrinMain.h"
#include "ui/Twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

using tavrin::ui::px;
using tavrin::ui::TavrinMain;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_window.reset(); }
    void startupState();
    void priorityPanelHeights();
    void smallHandlers();
    void statusClearsAfterTextClear();
    void operatorEditsReachTheState();
    void downloadFillsTheWindow_data();
    void downloadFillsTheWindow();

private:
    template<typename T> T *child(const QString &name) const
    {
        auto *w = m_window->findChild<T *>(name);
        if (!w)
            qWarning("no %s", qPrintable(name));
        return w;
    }

    std::unique_ptr<TavrinMain> m_window;
};

void TestMainWindow::init()
{
    isolateSerialPorts();
    m_window = std::make_unique<TavrinMain>();
    m_window->controller().searchPortTimer().stop(); // no search unless a test wants one
    m_window->show();
}

void TestMainWindow::startupState()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Sign Configuration Manager ver 4.72"));
    auto *ports = child<QComboBox>("ComportsList");
    QCOMPARE(ports->count(), 12);
    QCOMPARE(ports->currentText(), QStringLiteral("COM 1"));
    for (const char *name : { "FontP0", "BeepP4", "Pri0(7)" })
        QCOMPARE(child<QComboBox>(name)->currentIndex(), -1);
    QVERIFY(!child<QLabel>("Textout")->isVisible());
    QVERIFY(!child<QProgressBar>("ProgressUploadAll")->isVisible());

    // A port that failed to open shows its text whole, and its tool tip says where and why.
    const QString device = QStringLiteral("/nonexistent/tavrin-test/com2");
    qputenv("TAVRIN_COM2", device.toLocal8Bit());
    m_window->controller().setPortIndex(1);
    m_window->controller().DownloadAll_Click();
    QVERIFY(ports->itemText(1).startsWith(QStringLiteral("2-")));
    QVERIFY(ports->width() >= ports->fontMetrics().horizontalAdvance(ports->itemText(1)));
    const QString tip = ports->itemData(1, Qt::ToolTipRole).toString();
    QVERIFY2(tip.startsWith(device) && tip.contains(ports->itemText(1).mid(2)), qPrintable(tip));

    // Closing stops the search and saves nothing.
    m_window->controller().searchPortTimer().start();
    m_window->close();
    QVERIFY(!m_window->controller().searchPortTimer().isActive());
}

void TestMainWindow::priorityPanelHeights()
{
    auto *show = child<QPushButton>("ShowPriority");
    auto *hide = child<QPushButton>("HidePriority");
    const int collapsed = m_window->height();
    QVERIFY(show->isVisible() && !hide->isVisible());
    // Collapsed, the grid lies below the window's edge.
    QVERIFY(child<QWidget>("FontP0")->mapTo(m_window.get(), QPoint(0, 0)).y() > collapsed);

    m_window->showMaximized();
    show->click();
    QVERIFY(!m_window->isMaximized());
    QVERIFY(!show->isVisible() && hide->isVisible());
    QCOMPARE(m_window->height() - collapsed, px(9700) - px(5750));
    const QWidget *lastRow = child<QWidget>("TimeoutP4");
    QVERIFY(lastRow->mapTo(m_window.get(), QPoint(0, lastRow->height())).y() <= m_window->height());

    hide->click();
    QCOMPARE(m_window->height(), collapsed);
    QVERIFY(show->isVisible() && !hide->isVisible());
}

void TestMainWindow::smallHandlers()
{
    auto &controller = m_window->controller();
    auto *style = child<QComboBox>("StyleP0");
    const int left = style->x();
    controller.TestBtn_Click();
    QCOMPARE(child<QLabel>("TestOut")->text(), QStringLiteral("3520"));
    QVERIFY(style->x() >= left);

    child<QCheckBox>("ForceOnID0")->click();
    for (int i = 0; i < 8; ++i)
        QCOMPARE(child<QLabel>(QStringLiteral("LabelID%1").arg(i))->text(),
                 QStringLiteral("ID   0"));
    child<QCheckBox>("ForceOnID0")->click();
    QCOMPARE(child<QLabel>("LabelID6")->text(), QStringLiteral("ID   6"));
    QCOMPARE(controller.state().flags, tavrin::core::PendingFlags {}); // relabelling sends nothing
}

void TestMainWindow::statusClearsAfterTextClear()
{
    auto &controller = m_window->controller();
    controller.showStatus(QStringLiteral("Linked ID : 3"));
    auto *status = child<QLabel>("Textout");
    QVERIFY(status->isVisible());
    QCOMPARE(status->text(), QStringLiteral("Linked ID : 3"));
    QCOMPARE(controller.textClearTimer().interval(), 5000);
    QVERIFY(controller.textClearTimer().isActive());
    QTRY_VERIFY_WITH_TIMEOUT(!status->isVisible(), 7000); // the first tick
    QVERIFY(status->text().isEmpty());
    QVERIFY(!controller.textClearTimer().isActive());
}

void TestMainWindow::operatorEditsReachTheState()
{
    auto &controller = m_window->controller();
    auto *pause0 = child<QComboBox>("PauseP0");
    auto *pause2 = child<QComboBox>("PauseP2");
    pause0->setCurrentIndex(4);
    emit pause0->activated(4);
    pause2->setCurrentIndex(1);
    emit pause2->activated(1);
    QCOMPARE(controller.state().config.rows[0].pause, 4);
    QVERIFY(controller.state().flags.row[0]); // PauseP0_Change
    QCOMPARE(controller.state().config.rows[2].pause, 1);
    QVERIFY(!controller.state().flags.row[2]); // other lists have no change handler

    QTest::keyClicks(child<QLineEdit>("TimeoutP1"), QStringLiteral("25"));
    QTest::keyClicks(child<QLineEdit>("Capcode0(4)"), QStringLiteral("9001"));
    QTest::keyClicks(child<QLineEdit>("usercmd1"), QStringLiteral("DIM"));
    QCOMPARE(controller.state().config.rows[1].timeout, QStringLiteral("25"));
    QCOMPARE(controller.state().config.links[4].capcode, QStringLiteral("9001"));
    QCOMPARE(controller.state().config.userCommand, QStringLiteral("DIM"));
}

void TestMainWindow::downloadFillsTheWindow_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("fontWidthTwips");
    QTest::newRow("KR4410") << "KR4410" << 2280;
    QTest::newRow("VX903") << "VX903" << 1500;
}

void TestMainWindow::downloadFillsTheWindow()
{
    QFETCH(QString, model);
    QFETCH(int, fontWidthTwips);
    SignSimProcess sim({ QStringLiteral("--model"), model });
    QVERIFY(sim.start());
    qputenv("TAVRIN_COM1", sim.devicePath().toLocal8Bit());

    child<QPushButton>("DownloadAll")->click();
    QCOMPARE(child<QPushButton>("DownloadAll")->text(), QStringLiteral("Reading..."));
    QVERIFY(!child<QPushButton>("DownloadAll")->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>("LEDSignModel")->text(), model, 5000);
    QTRY_VERIFY(child<QPushButton>("DownloadAll")->isEnabled());

    const auto &state = m_window->controller().state();
    auto *font = child<QComboBox>("FontP2");
    QCOMPARE(font->currentIndex(), int(state.config.rows[2].font));
    QVERIFY(font->width() >= px(fontWidthTwips));
    // Every closed list shows its longest entry whole, and no two columns overlap.
    int right = 0;
    for (const char *name : { "FontP3", "StyleP3", "ColorP3", "SpeedP3", "AlignmentP3", "PauseP3",
                              "BeepP3", "TimeoutP3" }) {
        auto *w = child<QWidget>(name);
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
    QCOMPARE(child<QComboBox>("SpeedP0")->isEnabled(), model != QStringLiteral("VX903"));
    QCOMPARE(child<QComboBox>("StyleP4")->count(), model == QStringLiteral("VX903") ? 23 : 28);
    QCOMPARE(child<QLineEdit>("Capcode0(1)")->text(), state.config.links[1].capcode);
    QCOMPARE(child<QComboBox>("Pri0(1)")->currentIndex(), int(state.config.links[1].priority));
    QCOMPARE(child<QLineEdit>("usercmd1")->text(), state.config.userCommand);
    QCOMPARE(child<QCheckBox>("AutoID")->isChecked(), state.config.autoID == 1);
    QVERIFY(child<QPushButton>("HidePriority")->isVisible());

    if (const QByteArray dir = qgetenv("TAVRIN_SCREENSHOT_DIR"); !dir.isEmpty())
        m_window->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/main-") + model
                              + QStringLiteral(".png"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
