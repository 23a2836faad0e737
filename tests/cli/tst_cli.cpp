#include "../update/LocalHttpServer.h"
#include "MainController.h"
#include "MainFile.h"
#include "SignSimProcess.h"
#include "TestHelpers.h"
#include "UploadProgress.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
    QByteArray bytes; // standard output as it came
};

// The program as a script on a machine without a display runs it; `child` runs in the child
// before the program starts.
Run runCli(const QStringList &arguments, const std::function<void()> &child = {})
{
    QProcess process;
    if (child)
        process.setChildProcessModifier(child);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM" })
        environment.remove(QLatin1String(name));
    process.setProcessEnvironment(environment);
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(qEnvironmentVariable("TAVRIN_CLI"), arguments);
    if (!finished.wait(60000))
        return {};
    const QByteArray out = process.readAllStandardOutput();
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
             QString::fromUtf8(out), QString::fromUtf8(process.readAllStandardError()), out };
}

const QString kRead = QStringLiteral("DOWNLOAD_ALL\r");

// "read|--port|1" as the program's arguments: each table row stays one line.
QStringList args(const char *text)
{
    return QString::fromUtf8(text).split(u'|');
}

// A search after a run: whatever the run sent is logged before its one command.
QStringList commandsSent(SignSimProcess &sim, qsizetype expected)
{
    runCli({ QStringLiteral("find") });
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
    void linksOnlyWhatStartNeeds_data();
    void linksOnlyWhatStartNeeds();
    void outputs_data();
    void outputs();
    void backUpResetRestore();
    void refusals_data();
    void refusals();
    void signCommands_data();
    void signCommands();
};

void TestCli::linksOnlyWhatStartNeeds_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("notLinked");
    const QString cli = qEnvironmentVariable("TAVRIN_CLI");
    // Neither starts with the network or the HTML parser: device servers and the download
    // page load their modules when first used. The command line never shows a window.
    QTest::newRow("tavrin-cli") << cli
                                << QStringList { "libQt6Gui", "libQt6Widgets", "libQt6Network",
                                                 "libxml2" };
    QTest::newRow("tavrin") << QFileInfo(cli).dir().filePath(QStringLiteral("tavrin"))
                            << QStringList { "libQt6Network", "libxml2" };
}

void TestCli::linksOnlyWhatStartNeeds()
{
    QFETCH(QString, program);
    QFETCH(QStringList, notLinked);
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), { program });
    if (!ldd.waitForFinished() || ldd.exitCode() != 0)
        QSKIP("ldd cannot list the program's libraries here");
    const QString libraries = QString::fromLocal8Bit(ldd.readAllStandardOutput());
    QVERIFY(libraries.contains(QLatin1String("libQt6Core")));
    for (const QString &library : notLinked)
        QVERIFY2(!libraries.contains(library), qPrintable(library));
}

// "S_IFIFO", "S_IFCHR", "S_IFREG" of what is at path; 0 for nothing.
mode_t nodeType(const QString &path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

void TestCli::outputs_data()
{
    QTest::addColumn<QString>("target"); // -o's value; a name is made in the test's folder
    QTest::addColumn<QString>("child"); // what the run's process starts with
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::addColumn<bool>("landed"); // the whole file reached the target or standard output

    // clang-format off
    QTest::newRow("regular file, replaced whole") << "out.led" << "" << 0 << "" << true;
    QTest::newRow("FIFO with a reader gets the bytes") << "fifo" << "" << 0 << "" << true;
    QTest::newRow("FIFO without a reader") << "fifo" << "no reader" << 4 << "fifo: no program is reading from it" << false;
    QTest::newRow("character device that takes nothing") << "full" << "" << 4 << "full: No space left on device" << false;
    QTest::newRow("- is standard output") << "-" << "" << 0 << "" << true;
    QTest::newRow("full disk keeps the old file") << "out.led" << "file size limit" << 4 << "out.led: File too large" << false;
    QTest::newRow("read-only folder") << "ro/out.led" << "unprivileged" << 4 << "Permission denied" << false;
    QTest::newRow("standard output on a full disk") << "-" << "stdout full" << 4 << "standard output: No space left on device" << false;
    QTest::newRow("standard output closed") << "-" << "stdout closed" << 4 << "standard output: Bad file descriptor" << false;
    // clang-format on
}

// read -o: each kind of target gets the whole file or an exit status and the system's reason,
// and is never replaced by something else.
void TestCli::outputs()
{
    QFETCH(QString, target);
    QFETCH(QString, child);
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(1));
    QTemporaryDir dir;
    QVERIFY(QFile::setPermissions(dir.path(), QFile::Permissions(0x7777)));
    const QString path = target == u"-" ? target : dir.filePath(target);
    const QByteArray old = "Model:OLD\r\n";
    if (target == u"out.led")
        QVERIFY(writeFileBytes(path, old));
    QFile reader; // the test reads the FIFO itself, so the reader is there before the run
    if (target == u"fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0666), 0);
        if (child.isEmpty()) // else a reader that is not there: nothing reads
            QVERIFY(reader.open(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK),
                                QIODevice::ReadOnly, QFile::AutoCloseHandle));
        child.clear();
    }
    if (target == u"full"
        && ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        QSKIP("making a device node needs a right this process lacks");
    if (target.startsWith(u"ro/")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("ro")));
        QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("ro")),
                                      QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                          | QFile::ExeOther));
        QVERIFY(QFile::setPermissions(sim.devicePath(), QFile::Permissions(0x6666)));
    }
    const mode_t before = nodeType(path);
    const std::function<void()> modifiers[] = {
        [] {
            // Room for the serial port's lock file, not for the configuration's ~420 bytes.
            const rlimit limit { 320, RLIM_INFINITY };
            ::setrlimit(RLIMIT_FSIZE, &limit);
            ::signal(SIGXFSZ, SIG_IGN); // a write then fails with EFBIG instead of killing
        },
        [] {
            constexpr uid_t kNobody = 65534; // root writes anywhere
            if (::geteuid() == 0
                && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0
                    || ::setuid(kNobody) != 0))
                ::_exit(126);
        },
        [] { ::dup2(::open("/dev/full", O_WRONLY), STDOUT_FILENO); },
        [] { ::close(STDOUT_FILENO); },
    };
    const QStringList children { "file size limit", "unprivileged", "stdout full",
                                 "stdout closed" };
    const qsizetype which = children.indexOf(child);
    const QByteArray whole = runCli(args("read|--port|1|-o|-")).bytes;
    QVERIFY(whole.startsWith("Model:KR4410\r\n") && whole.endsWith("AutoID:1\r\n\r\n"));

    const Run run = runCli(args("read|--port|1|-o") << path,
                           which < 0 ? std::function<void()>() : modifiers[which]);
    QTEST(run.status, "status");
    QFETCH(QString, says);
    QVERIFY2(run.err.contains(says), qPrintable(run.err));
    QFETCH(bool, landed);
    const QByteArray got = target == u"-" ? run.bytes
        : target == u"fifo"               ? (reader.isOpen() ? reader.readAll() : QByteArray())
        : target == u"full"               ? QByteArray() // reads as endless zeros
                                          : readFileBytes(path, "");
    QCOMPARE(got == whole, landed);
    if (target == u"out.led" && !landed)
        QCOMPARE(got, old);
    QCOMPARE(nodeType(path), before); // nothing replaced, nothing left behind
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
             qsizetype(before != 0));
}

// A sign with its own settings and idle message, backed up, reset to its factory defaults and
// restored, holds what it held; a second restore sends nothing.
void TestCli::backUpResetRestore()
{
    QTemporaryDir dir;
    const QString custom = dir.filePath(QStringLiteral("custom.led"));
    const QByteArray idle = "DefaultMsg:Bay 3\xaa"
                            "closed <hh:mm>\r\nDefaultFont:1\r\nDefaultColor:2\r\n";
    QVERIFY(writeFileBytes(custom,
                           "Model:KR4410\r\nPri1:6,0,3,2,0,3,1,45\r\nLinkID2:777001,3\r\n" + idle));
    SignSimProcess sim({ QStringLiteral("--config"), custom });
    QVERIFY(sim.startOnPort(1));
    const QString backup = dir.filePath(QStringLiteral("backup.led"));
    const QString after = dir.filePath(QStringLiteral("after.led"));
    const QStringList onCom1 = args("--port|1");
    QCOMPARE(runCli(args("read|-o") << backup << onCom1).status, 0);
    QVERIFY(readFileBytes(backup).contains("LinkID2:777001,3\r\n")
            && readFileBytes(backup).contains(idle));
    QCOMPARE(runCli(args("factory-reset|--yes") << onCom1).status, 0);

    const Run plan = runCli(args("write|--dry-run") << backup << onCom1);
    const Run restore = runCli(args("write") << backup << onCom1);
    QVERIFY2(restore.status == 0, qPrintable(restore.err));
    // The dry run listed what the sign then confirmed, the idle message last.
    QCOMPARE(restore.out.section(QStringLiteral("The sign"), 0, 0),
             plan.out.section(QStringLiteral("Would send"), 0, 0));
    QVERIFY(restore.out.contains(QRegularExpression(
        QStringLiteral("\n<DF f=1 c=2 [^\n]*>Bay 3\\$Lclosed \\$T2\nThe sign"))));
    QCOMPARE(runCli(args("read|-o") << after << onCom1).status, 0);
    QCOMPARE(readFileBytes(after), readFileBytes(backup));

    const qsizetype logged = commandsSent(sim, 0).size() + 1; // with the search itself
    QCOMPARE(runCli(args("write") << backup << onCom1).out, QStringLiteral("Nothing to Upload\n"));
    QCOMPARE(commandsSent(sim, logged + 2).mid(logged),
             QStringList({ kRead, QStringLiteral("DOWNLOAD_DEFAULT_MSG\r") }));
}

void TestCli::refusals_data()
{
    QTest::addColumn<QStringList>("simulator");
    QTest::addColumn<QStringList>("arguments"); // FILE: a file of these bytes
    QTest::addColumn<QByteArray>("led");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QStringList>("sent");

    const QByteArray badTimeout = "Model:KR4410\r\nPri2:5,0,3,2,0,3,1,2x\r\n";
    const QStringList write = args("write|FILE|--port|1");
    QTest::newRow("silent sign, no file")
        << args("--silent") << args("read|--port|1|-o|OUT") << badTimeout << 1
        << "the sign did not answer." << QStringList { kRead };
    QTest::newRow("a sign that never ends a line")
        << args("--stream") << args("read|--port|1") << badTimeout << 1
        << "the sign sent characters but never ended a line" << QStringList { kRead };
    QTest::newRow("text that is no configuration")
        << QStringList() << write << QByteArray("two lines\r\nof text\r\n") << 2
        << "holds none of the keys" << QStringList();
    QTest::newRow("cut inside a LinkID line")
        << QStringList() << write << QByteArray("Model:KR4410\r\nLinkID1:234567,234") << 2
        << "the file ends inside line 2, LinkID1:" << QStringList();
    QTest::newRow("another model's file")
        << QStringList() << write << QByteArray("Model:VX903\r\nAutoID:1\r\n") << 2
        << "was saved from a VX903 sign; the sign on COM 1 is a KR4410" << QStringList { kRead };
    QTest::newRow("bad timeout") << QStringList() << write << badTimeout << 2
                                 << "Timeout of Priority 2 must be a whole number of seconds "
                                    "from 0 to 32767."
                                 << QStringList();
    QTest::newRow("unsendable character")
        << QStringList() << args("send|Caf€|--port|1") << badTimeout << 2
        << "The message holds \"€\" (U+20AC), which the sign's line cannot carry." << QStringList();
    QTest::newRow("port out of range")
        << QStringList() << args("read|--port|13") << badTimeout << 2
        << "--port takes a port number from 1 to 12" << QStringList();
    QTest::newRow("reset unconfirmed") << QStringList() << args("factory-reset|--port|1")
                                       << badTimeout << 2 << "add --yes" << QStringList();
    QTest::newRow("unknown command") << QStringList() << args("frobnicate") << badTimeout << 2
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
    QFETCH(QByteArray, led);
    QVERIFY(writeFileBytes(file, led));
    const QString out = dir.filePath(QStringLiteral("out.led"));
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^FILE$")), file);
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^OUT$")), out);

    const Run run = runCli(arguments);
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.contains(says), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QVERIFY(!QFile::exists(out));
    QCOMPARE(commandsSent(sim, sent.size()), sent);
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
    QTest::newRow("send, a text after -- that begins with -")
        << args("send|--port|2|--|-5 C") << "Upload Successfull\n"
        << QStringList { read, QStringLiteral("<id=0 [^>]*>-5 C\\r") };
    QTest::newRow("read --json: numbers are numbers")
        << args("read|--json|--port|2") << "\"timeout\": 20\n"
        << QStringList { read, QStringLiteral("DOWNLOAD_DEFAULT_MSG\\r") };
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
    const QStringList commands = commandsSent(sim, sent.size());
    QCOMPARE(commands.size(), sent.size());
    for (qsizetype i = 0; i < sent.size(); ++i) {
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(sent[i]));
        QVERIFY2(pattern.match(commands[i]).hasMatch(), qPrintable(commands[i]));
    }
    QVERIFY(updateSite.requested.isEmpty());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
