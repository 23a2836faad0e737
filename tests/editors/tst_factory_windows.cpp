#include "SignSimProcess.h"
#include "ui/LEDSignHelp.h"
#include "ui/TavrinMain.h"
#include "ui/Warning.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

using tavrin::ui::TavrinMain;

class TestFactoryWindows : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void noTouchesNothing();
    void yesResetsTheSign();
    void aboutShowsVersion();
};

void TestFactoryWindows::noTouchesNothing()
{
    TavrinMain main;
    main.controller().searchPortTimer().stop();
    const auto before = main.controller().state();
    tavrin::ui::Warning warning(main.controller());
    warning.findChild<QPushButton *>(QStringLiteral("No"))->click();
    QCOMPARE(warning.result(), int(QDialog::Rejected));
    QVERIFY(!main.controller().serialLink().isOpen());
    QVERIFY(!main.controller().factoryDefTimer().isActive());
    QCOMPARE(main.controller().state().progressMaximum, before.progressMaximum);
    QVERIFY(main.controller().state().factoryDefaultsEnabled);
}

void TestFactoryWindows::yesResetsTheSign()
{
    SignSimProcess sim;
    QVERIFY(sim.start());
    qputenv("TAVRIN_COM1", sim.devicePath().toLocal8Bit());
    TavrinMain main;
    main.controller().searchPortTimer().stop();

    tavrin::ui::Warning warning(main.controller());
    QCOMPARE(warning.windowTitle(), QStringLiteral("Setup Factory Defaults"));
    warning.findChild<QPushButton *>(QStringLiteral("Yes"))->click();
    QCOMPARE(warning.result(), int(QDialog::Accepted));
    auto *download = main.findChild<QPushButton *>(QStringLiteral("DownloadAll"));
    QVERIFY(!download->isEnabled());
    QTRY_COMPARE_WITH_TIMEOUT(main.findChild<QLabel *>(QStringLiteral("LEDSignModel"))->text(),
                              QStringLiteral("KR4410"), 5000);
    QTRY_VERIFY(download->isEnabled());
    QVERIFY(main.findChild<QPushButton *>(QStringLiteral("UploadFactoryDef"))->isEnabled());
    QCOMPARE(sim.receivedCommands(),
             QStringList({ QStringLiteral("<FD>\r"), QStringLiteral("DOWNLOAD_ALL\r") }));
}

void TestFactoryWindows::aboutShowsVersion()
{
    tavrin::ui::LEDSignHelp about(QStringLiteral("Sign Configuration Manager ver 4.72"));
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(about.findChild<QLabel *>(QStringLiteral("SoftwareVersion"))->text(),
             QStringLiteral("Version : 4.72"));
    auto *sample = about.findChild<QTextEdit *>(QStringLiteral("rtfbuffer"));
    QCOMPARE(sample->toPlainText(), QStringLiteral("Test message"));
    QTextCursor cursor(sample->document());
    cursor.setPosition(1);
    QCOMPARE(cursor.charFormat().foreground().color(), QColor(255, 0, 0));

    tavrin::ui::LEDSignHelp plain(QStringLiteral("Sign Configuration Manager"));
    QCOMPARE(plain.findChild<QLabel *>(QStringLiteral("SoftwareVersion"))->text(),
             QStringLiteral("Version"));
}

QTEST_MAIN(TestFactoryWindows)
#include "tst_factory_windows.moc"
