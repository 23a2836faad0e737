#include "AboutDialog.h"
#include "FactoryResetDialog.h"
#include "MainWindow.h"
#include "SignSimProcess.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using tavrin::ui::MainWindow;

class TestFactoryWindows : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void yesResetsTheSign();
    void aboutShowsVersion_data();
    void aboutShowsVersion();
};

// The reset itself is walked by the sign session test; here the window's Yes starts it.
void TestFactoryWindows::yesResetsTheSign()
{
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(1));
    MainWindow main;
    main.controller().stopPortSearch();

    tavrin::ui::FactoryResetDialog warning(main.controller());
    warning.findChild<QPushButton *>(QStringLiteral("Yes"))->click();
    QCOMPARE(warning.result(), int(QDialog::Accepted));
    QVERIFY(sim.waitForCommands(2));
    QCOMPARE(sim.receivedCommands(),
             QStringList({ QStringLiteral("<FD>\r"), QStringLiteral("DOWNLOAD_ALL\r") }));
}

void TestFactoryWindows::aboutShowsVersion_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    // clang-format off
    QTest::newRow("the main caption") << "Sign Configuration Manager ver 4.72" << "Version : 4.72";
    QTest::newRow("no marker: the design text stays") << "Sign Configuration Manager 4.72" << "Version";
    QTest::newRow("text after the first marker only") << "a ver 1 ver 2" << "Version : 1 ";
    QTest::newRow("a colon cuts the version") << "Manager ver 4.72:beta" << "Version : 4.72";
    // clang-format on
}

void TestFactoryWindows::aboutShowsVersion()
{
    QFETCH(QString, caption);
    tavrin::ui::AboutDialog about(caption);
    QTEST(about.findChild<QLabel *>(QStringLiteral("SoftwareVersion"))->text(), "shown");
}

QTEST_MAIN(TestFactoryWindows)
#include "tst_factory_windows.moc"
