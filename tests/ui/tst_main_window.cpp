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
    void everyControlIsNamed_data();
    void everyControlIsNamed();
    void listsFilledNothingSelected_data();
    void listsFilledNothingSelected();
    void startupState();
    void gridAtDesignGeometry_data();
    void gridAtDesignGeometry();
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

void TestMainWindow::everyControlIsNamed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    const QStringList lists
        = { "FontP", "StyleP", "ColorP", "SpeedP", "AlignmentP", "PauseP", "BeepP" };
    for (int row = 0; row < 5; ++row) {
        for (const QString &list : lists)
            QTest::newRow(qPrintable(list + QString::number(row)))
                << list + QString::number(row) << "QComboBox";
        QTest::newRow(qPrintable("TimeoutP" + QString::number(row)))
            << "TimeoutP" + QString::number(row) << "QLineEdit";
    }
    for (int i = 0; i < 8; ++i) {
        QTest::newRow(qPrintable(QString("Capcode0(%1)").arg(i)))
            << QString("Capcode0(%1)").arg(i) << "QLineEdit";
        QTest::newRow(qPrintable(QString("Pri0(%1)").arg(i)))
            << QString("Pri0(%1)").arg(i) << "QComboBox";
        QTest::newRow(qPrintable(QString("LabelID%1").arg(i)))
            << QString("LabelID%1").arg(i) << "QLabel";
    }
    const QList<QPair<QString, QString>> singles = {
        { "ComportsList", "QComboBox" },
        { "AutoID", "QCheckBox" },
        { "ForceOnID0", "QCheckBox" },
        { "usercmd1", "QLineEdit" },
        { "Textout", "QLabel" },
        { "LEDSignModel", "QLabel" },
        { "FCount", "QLabel" },
        { "FCountLabel", "QLabel" },
        { "TestLabel", "QLabel" },
        { "VersionCheckLabel", "QLabel" },
        { "TestOut", "QLabel" },
        { "ProgressUploadAll", "QProgressBar" },
        { "DownloadAll", "QPushButton" },
        { "UploadAll", "QPushButton" },
        { "UploadFactoryDef", "QPushButton" },
        { "ForceUpload", "QPushButton" },
        { "SetupDefaultMsg", "QPushButton" },
        { "SendTestMsg", "QPushButton" },
        { "ShowPriority", "QPushButton" },
        { "HidePriority", "QPushButton" },
        { "TestBtn", "QPushButton" },
        { "Image1", "QPushButton" },
        { "signFile", "QMenu" },
        { "signTools", "QMenu" },
        { "signHelp", "QMenu" },
    };
    for (const auto &[name, type] : singles)
        QTest::newRow(qPrintable(name)) << name << type;
}

void TestMainWindow::everyControlIsNamed()
{
    QFETCH(QString, name);
    QFETCH(QString, type);
    QObject *object = m_window->findChild<QObject *>(name);
    QVERIFY2(object, qPrintable(name));
    QVERIFY(object->inherits(qPrintable(type)));
}

void TestMainWindow::listsFilledNothingSelected_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("probe");
    QTest::addColumn<QString>("text");
    QTest::newRow("font row 0") << "FontP0" << 25 << 14 << "Seven Row Color Shade";
    QTest::newRow("font row 4") << "FontP4" << 25 << 9 << "Seven Row Color Shade";
    QTest::newRow("colour") << "ColorP2" << 13 << 8 << "Orange";
    QTest::newRow("effect") << "StyleP3" << 28 << 6 << "Roll in";
    QTest::newRow("alignment") << "AlignmentP1" << 3 << 2 << "Center";
    QTest::newRow("speed") << "SpeedP4" << 5 << 0 << "Fastest";
    QTest::newRow("pause") << "PauseP0" << 10 << 9 << "9";
    QTest::newRow("beep") << "BeepP2" << 3 << 1 << "Normal";
    QTest::newRow("link priority 0") << "Pri0(0)" << 5 << 4 << "Priority 4";
    QTest::newRow("link priority 7") << "Pri0(7)" << 5 << 0 << "Priority 0";
}

void TestMainWindow::listsFilledNothingSelected()
{
    QFETCH(QString, name);
    QFETCH(int, count);
    QFETCH(int, probe);
    QFETCH(QString, text);
    auto *list = child<QComboBox>(name);
    QVERIFY(list);
    QCOMPARE(list->count(), count);
    QCOMPARE(list->itemText(probe), text);
    QCOMPARE(list->currentIndex(), -1);
}

void TestMainWindow::startupState()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Sign Configuration Manager ver 4.72"));
    auto *ports = child<QComboBox>("ComportsList");
    QCOMPARE(ports->count(), 12);
    QCOMPARE(ports->currentText(), QStringLiteral("COM 1"));
    QCOMPARE(ports->itemText(11), QStringLiteral("COM 12"));
    // Each entry's tool tip names the device behind it.
    qputenv("TAVRIN_COM2", "/dev/pts/77");
    TavrinMain other;
    auto *otherPorts = other.findChild<QComboBox *>(QStringLiteral("ComportsList"));
    other.controller().searchPortTimer().stop();
    QCOMPARE(otherPorts->itemData(1, Qt::ToolTipRole).toString(), QStringLiteral("/dev/pts/77"));
    QVERIFY(child<QLabel>("LEDSignModel")->text().isEmpty());
    QVERIFY(child<QLineEdit>("TimeoutP3")->text().isEmpty());
    QVERIFY(!child<QLabel>("Textout")->isVisible());
    QVERIFY(!child<QProgressBar>("ProgressUploadAll")->isVisible());
    QCOMPARE(child<QLabel>("LabelID5")->text(), QStringLiteral("ID   5"));
    QCOMPARE(m_window->controller().defaultMessage().getSaveSettingsTick(), 1);
    QVERIFY(m_window->controller().defaultMessage().IsDefMsgEmpty());
    QCOMPARE(m_window->controller().state().flags, tavrin::core::PendingFlags {});

    const QStringList menus = { "&File", "&Tools", "&Help" };
    QStringList titles;
    for (QAction *action : m_window->menuBar()->actions())
        titles << action->text();
    QCOMPARE(titles, menus);

    // Closing stops the search and saves nothing.
    m_window->controller().searchPortTimer().start();
    m_window->close();
    QVERIFY(!m_window->controller().searchPortTimer().isActive());
}

void TestMainWindow::gridAtDesignGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("font row 0") << "FontP0" << QRect(1140, 5565, 2280, 315);
    QTest::newRow("effect row 1") << "StyleP1" << QRect(3510, 6202, 1250, 315);
    QTest::newRow("colour row 2") << "ColorP2" << QRect(4860, 6839, 1245, 315);
    QTest::newRow("speed row 3") << "SpeedP3" << QRect(6165, 7476, 885, 315);
    QTest::newRow("alignment row 4") << "AlignmentP4" << QRect(7140, 8115, 850, 315);
    QTest::newRow("pause row 0") << "PauseP0" << QRect(8070, 5565, 570, 315);
    QTest::newRow("beep row 2") << "BeepP2" << QRect(8745, 6839, 960, 315);
    QTest::newRow("timeout row 4") << "TimeoutP4" << QRect(9810, 8115, 1100, 315);
}

void TestMainWindow::gridAtDesignGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    auto *w = child<QWidget>(name);
    QVERIFY(w);
    QCOMPARE(w->geometry(),
             tavrin::ui::twipsRect(twips.x(), twips.y(), twips.width(), twips.height()));
    QCOMPARE(px(1440), 96);
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
    QCOMPARE(style->x(), px(3520));
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
    QCOMPARE(font->width(), px(fontWidthTwips));
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
