#include "../update/LocalHttpServer.h"
#include "MainController.h"
#include "MainFile.h"
#include "SignSimProcess.h"
#include "TestHelpers.h"
#include "UploadProgress.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

// The program as a script on a machine without a display runs it.
Run runCli(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(qEnvironmentVariable("TAVRIN_CLI"), arguments);
    if (!finished.wait(60000))
        return {};
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
             QString::fromUtf8(process.readAllStandardOutput()),
             QString::fromUtf8(process.readAllStandardError()) };
}

const QString kRead = QStringLiteral("DOWNLOAD_ALL\r");

// "read|--port|1" as the program's arguments: each table row stays one line.
QStringList args(const char *text)
{
    return QString::fromUtf8(text).split(u'|');
}

// A read on the sign's port after a run: whatever the run sent is logged before it.
QStringList commandsSent(SignSimProcess &sim, const QString &port, qsizetype expected)
{
    runCli({ QStringLiteral("read"), QStringLiteral("--port"), port });
    sim.waitForCommands(int(expected) + 1);
    QStringList commands = sim.receivedCommands();
    if (commands.value(commands.size() - 1) == kRead)
        commands.removeLast();
    return commands;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void linksNeitherGuiNorNetwork();
    void readThenWriteSendsOnlyEdits();
    void refusals_data();
    void refusals();
    void signCommands_data();
    void signCommands();
};

void TestCli::linksNeitherGuiNorNetwork()
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), { qEnvironmentVariable("TAVRIN_CLI") });
    if (!ldd.waitForFinished() || ldd.exitCode() != 0)
        QSKIP("ldd cannot list the program's libraries here");
    const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
    QVERIFY(libraries.contains(QLatin1String("libQt6Core")));
    // It never shows a window and never goes on the network.
    for (const char *library : { "libQt6Gui", "libQt6Widgets", "libQt6Network", "libxml2" })
        QVERIFY2(!libraries.contains(QLatin1String(library)), library);
}

void TestCli::readThenWriteSendsOnlyEdits()
{
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(1));
    QTemporaryDir dir;
    const QString read = dir.filePath(QStringLiteral("read.led"));
    const QStringList onCom1 = args("--port|1");

    QCOMPARE(runCli(args("read|-o") << read << onCom1).status, 0);
    // The window's own download and save give the same bytes.
    tavrin::core::MainController window;
    window.download();
    QTRY_VERIFY(!window.isBusy());
    const QString saved = dir.filePath(QStringLiteral("window.led"));
    QVERIFY(tavrin::core::saveConfiguration(saved, window.state(), window.defaultMessage()));
    QCOMPARE(readFileBytes(read), readFileBytes(saved));

    Run run = runCli(args("write") << read << onCom1);
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.trimmed(), QStringLiteral("Nothing to Upload"));

    // Edited in the window (in another order than the upload's) and saved there, on COM 3.
    tavrin::core::MainState edited = window.state();
    edited.portIndex = 2;
    edited.config.links[2] = { QStringLiteral("777001"), 3 };
    edited.config.rows[3].timeout = QStringLiteral("45");
    edited.config.rows[1].font = 6;
    QVERIFY(tavrin::core::saveConfiguration(saved, edited, window.defaultMessage()));
    const auto rows = tavrin::protocol::uploadCommands(edited.config);
    const QStringList expected { rows[1], rows[3], QStringLiteral("<link id=2 cap=0>\r"),
                                 QStringLiteral("<link id=2 cap=777001 pr=3>\r") };

    run = runCli(args("write") << saved << args("--dry-run|--port|1"));
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out.split(QLatin1Char('\n')).mid(0, 4).join(QLatin1Char('\r')) + u'\r',
             expected.join(QString()));

    run = runCli(args("write") << saved << onCom1);
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains(QLatin1String("The sign on COM 1 confirmed all 3.")),
             qPrintable(run.out + run.err));
    QVERIFY(sim.waitForCommands(5 + 4));
    QCOMPARE(sim.receivedCommands(), QStringList(5, kRead) + expected);
}

void TestCli::refusals_data()
{
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QStringList>("arguments"); // FILE: a file with a bad timeout in row 2
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QStringList>("sent");

    QTest::newRow("silent sign, no file")
        << args("--silent") << args("read|--port|1|-o|OUT") << 1
        << "COM 1: the sign did not answer." << QStringList { kRead };
    QTest::newRow("bad timeout") << QStringList() << args("write|FILE|--port|1") << 2
                                 << "Timeout of Priority 2 must be a whole number of seconds "
                                    "from 0 to 32767."
                                 << QStringList();
    QTest::newRow("unsendable character")
        << QStringList() << args("send|Caf€|--port|1") << 2
        << "The message holds \"€\" (U+20AC), which the sign's line cannot carry." << QStringList();
    QTest::newRow("port out of range")
        << QStringList() << args("read|--port|13") << 2 << "--port takes a port number from 1 to 12"
        << QStringList();
    QTest::newRow("reset unconfirmed")
        << QStringList() << args("factory-reset|--port|1") << 2 << "add --yes" << QStringList();
    QTest::newRow("unknown command") << QStringList() << args("frobnicate") << 2
                                     << "\"frobnicate\" is not a command" << QStringList();
}

void TestCli::refusals()
{
    QFETCH(QStringList, simulator);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, says);
    QFETCH(QStringList, sent);

    SignSimProcess sim(simulator);
    QVERIFY(sim.startOnPort(1));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("bad.led"));
    QVERIFY(writeFileBytes(file, "Model:KR4410\r\nPri2:5,0,3,2,0,3,1,2x\r\n"));
    const QString out = dir.filePath(QStringLiteral("out.led"));
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^FILE$")), file);
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^OUT$")), out);

    const Run run = runCli(arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.contains(says), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QVERIFY(!QFile::exists(out));
    QCOMPARE(commandsSent(sim, QStringLiteral("1"), sent.size()), sent);
}

void TestCli::signCommands_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("prints");
    QTest::addColumn<QStringList>("sent"); // patterns

    const QString read = QRegularExpression::escape(kRead);
    QTest::newRow("find searches past an absent port") << args("find") << "COM 2 KR4410\n"
                                                       << QStringList { read };
    QTest::newRow("ports sends nothing") << args("ports") << "COM 2   /dev/" << QStringList();
    QTest::newRow("send codes times and line breaks")
        << args("send|Hi <hh:mm>\nthere|--id|3|--priority|2|--port|2") << "Upload Successfull\n"
        << QStringList { read,
                         QRegularExpression::escape(QStringLiteral(
                             "<id=3 f=7 s=1 c=5 a=2 b=2 p=2 sp=1 t=20>Hi $T2$Lthere\r")) };
    QTest::newRow("clock after a search")
        << args("clock") << "Clock of the sign on COM 2 set to"
        << QStringList { read,
                         QStringLiteral("<Time time=\\d\\d:\\d\\d:\\d\\d "
                                        "date=\\d{4}/\\d\\d/\\d\\d-[0-6]>SET TIME\\r") };
    QTest::newRow("factory reset reads again")
        << args("factory-reset|--yes|--port|2") << "Factory defaults loaded on COM 2.\n"
        << QStringList { read, QStringLiteral("<FD>\\r"), read };
}

void TestCli::signCommands()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, prints);
    QFETCH(QStringList, sent);

    // Searching never loads the update page, even one that is there.
    LocalHttpServer updateSite;
    qputenv("TAVRIN_UPDATE_SITE", updateSite.url("/Downloads").toEncoded());
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(2));

    const Run run = runCli(arguments);
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QVERIFY2(run.out.contains(prints), qPrintable(run.out));
    const QStringList commands = commandsSent(sim, QStringLiteral("2"), sent.size());
    QCOMPARE(commands.size(), sent.size());
    for (qsizetype i = 0; i < sent.size(); ++i) {
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(sent[i]));
        QVERIFY2(pattern.match(commands[i]).hasMatch(), qPrintable(commands[i]));
    }
    QVERIFY(updateSite.requested.isEmpty());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
