#include "MainWindow.h"
#include "PortAddress.h"
#include "PortDevicesDialog.h"
#include "PortMap.h"
#include "SignSimProcess.h"
#include "TestHelpers.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace tavrin;

static void forgetChosenDevices()
{
    QSettings(QStringLiteral("Tavrin"), QStringLiteral("Tavrin")).remove(QStringLiteral("Ports"));
}

class TestPortDevicesDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanupTestCase() { forgetChosenDevices(); } // none is left for other tests
    void choosingFromTheMainWindow_data();
    void choosingFromTheMainWindow();
    void environmentDecidesAndClosingCallsOffTests();
    void testReports_data();
    void testReports();
};

void TestPortDevicesDialog::init()
{
    isolateSerialPorts();
    forgetChosenDevices();
}

void TestPortDevicesDialog::choosingFromTheMainWindow_data()
{
    QTest::addColumn<QString>("typed"); // into COM 2, with a path into COM 3 alongside
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("problem"); // shown when OK is refused
    const auto row = [](const char *name, const QString &typed, const QString &button) {
        QTest::newRow(name) << typed << button << link::PortAddress::parse(typed).problem;
    };
    row("OK keeps a path", "/dev/ttyTEST2", "OK");
    row("OK keeps a device server", "socket://127.0.0.1:4001", "OK");
    row("an emptied box gives the port back", "", "OK");
    row("Cancel keeps nothing", "/dev/ttyTEST2", "Cancel");
    row("an address without a port refused, nothing kept", "socket://host", "OK");
}

void TestPortDevicesDialog::choosingFromTheMainWindow()
{
    QFETCH(QString, typed);
    QFETCH(QString, button);
    QFETCH(QString, problem);
    const QString before = QStringLiteral("/dev/ttyBEFORE");
    link::setChosenDevice(2, before);
    qunsetenv("TAVRIN_COM2");
    qunsetenv("TAVRIN_COM3");
    ui::MainWindow window;
    window.controller().stopPortSearch();
    // COM 5 failed before; what the list says of it outlives choices for other ports.
    auto *ports = child<QComboBox>(window, "ComportsList");
    window.controller().setPortIndex(4);
    window.controller().download();
    const QString failed = ports->itemText(4);
    QVERIFY2(failed.startsWith(QStringLiteral("5-")), qPrintable(failed));

    bool closed = false;
    QString shown;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        child<QLineEdit>(*dialog, "Device2")->setText(typed);
        child<QLineEdit>(*dialog, "Device3")->setText(QStringLiteral("/dev/ttyTEST3"));
        child<QPushButton>(*dialog, qPrintable(button))->click();
        closed = !dialog->isVisible();
        shown = child<QLabel>(*dialog, "Status2")->text();
        if (!closed)
            dialog->reject();
    });
    child<QAction>(window, "signPortDevices")->trigger();

    QCOMPARE(shown, problem);
    QCOMPARE(closed, problem.isEmpty());
    const bool kept = button == "OK" && problem.isEmpty();
    QCOMPARE(link::chosenDevice(2), kept ? typed : before);
    QCOMPARE(link::chosenDevice(3), kept ? QStringLiteral("/dev/ttyTEST3") : QString());
    QCOMPARE(ports->itemText(4), failed);
    const QString tip = ports->itemData(1, Qt::ToolTipRole).toString();
    QVERIFY2(tip.startsWith(link::chosenDevice(2)) && tip.contains(before) == !kept,
             qPrintable(tip));
}

void TestPortDevicesDialog::environmentDecidesAndClosingCallsOffTests()
{
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(4));
    link::setChosenDevice(4, QStringLiteral("/dev/ttyCHOSEN4"));
    ui::PortDevicesDialog dialog;
    auto *device = child<QLineEdit>(dialog, "Device4");
    QVERIFY(device->isReadOnly() && device->toolTip().contains(QStringLiteral("TAVRIN_COM4")));
    QCOMPARE(device->text(), sim.devicePath());
    child<QPushButton>(dialog, "Test4")->click();
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(dialog, "Status4")->text(), "KR4410 answered", 5000);
    child<QPushButton>(dialog, "Test4")->click();
    child<QPushButton>(dialog, "OK")->click(); // a test left running would hold the port
    QCOMPARE(link::chosenDevice(4), QStringLiteral("/dev/ttyCHOSEN4"));

    ui::PortDevicesDialog again;
    child<QPushButton>(again, "Test4")->click();
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(again, "Status4")->text(), "KR4410 answered", 5000);
}

void TestPortDevicesDialog::testReports_data()
{
    QTest::addColumn<QStringList>("sign"); // the simulator's arguments; none: no simulator
    QTest::addColumn<QString>("typed"); // replaced by the simulator's device when there is one
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *name, const QStringList &sign, const QString &typed,
                        const QString &expected) {
        QTest::newRow(name) << sign << typed << expected;
    };
    row("a sign answers with its model", { "--model", "TM207" }, "", "TM207 answered");
    row("a device that stays silent", { "--silent" }, "", "no sign answered");
    row("nothing at the path", {}, "/nonexistent/tavrin-test/dev", "No such file or directory");
    row("an unusable address", {}, "tcp://h:1", link::PortAddress::parse("tcp://h:1").problem);
}

void TestPortDevicesDialog::testReports()
{
    QFETCH(QStringList, sign);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    SignSimProcess sim(sign);
    if (!sign.isEmpty()) {
        QVERIFY(sim.start());
        typed = sim.devicePath();
    }
    qunsetenv("TAVRIN_COM5");
    ui::PortDevicesDialog dialog;
    child<QLineEdit>(dialog, "Device5")->setText(typed);
    auto *test = child<QPushButton>(dialog, "Test5");
    auto *status = child<QLabel>(dialog, "Status5");
    test->click();
    QVERIFY(!test->isEnabled());
    QCOMPARE(status->text(), QStringLiteral("Testing…"));
    QTRY_VERIFY_WITH_TIMEOUT(test->isEnabled(), 5000);
    QCOMPARE(status->text(), expected);
    QVERIFY(link::chosenDevice(5).isEmpty()); // tried, not kept
}

QTEST_MAIN(TestPortDevicesDialog)
#include "tst_port_devices_dialog.moc"
