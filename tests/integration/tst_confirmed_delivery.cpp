// Signs that misbehave as real ones do: noise instead of an answer, a reply cut short, a sign
// that answers every other command, refuses one, or dies between a command and its answer.
// Nothing counts as done until the sign confirms it, and no stray line changes a setting.
#include "../core/SyncedState.h"
#include "SessionHelpers.h"
#include "SignRecords.h"

#include "MainFile.h"
#include "UploadProgress.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>
#include <functional>

using tavrin::core::MainController;
using tavrin::core::MainState;

namespace {

const QString kModel = QStringLiteral("KR4410");

QString factoryLine(const QString &userCommand = QStringLiteral("BRIGHT 8"))
{
    auto sign = tavrin::signsim::SignState::factory(kModel);
    sign.userCommand = userCommand;
    return tavrin::signsim::configurationLine(sign, kModel, QStringLiteral("5"));
}

// The window just after it read a factory sign: nothing pending, the image as the sign.
MainState factoryState()
{
    MainController reader;
    reader.interpretLine(factoryLine(), true);
    return reader.state();
}

// The eighteen commands of a forced upload of the factory configuration: five rows, the ID
// mode, the user command, then links 0-7 (0, 1 and 3 with a clearing and a setting command).
const QStringList &forced()
{
    static const QStringList commands = tavrin::core::uploadPlan(factoryState(), true);
    return commands;
}

// The forced commands at these positions.
QStringList pick(std::initializer_list<int> indexes)
{
    QStringList commands;
    for (int i : indexes)
        commands << forced().at(i);
    return commands;
}

// What the operator does in the window on COM 1.
using Action = std::function<void(MainController &)>;

} // namespace

Q_DECLARE_METATYPE(Action)

class TestConfirmedDelivery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { isolateSerialPorts(); }
    void faultySign_data();
    void faultySign();

private:
    QTemporaryDir m_dir;
    QString m_file; // the factory configuration, as `read -o` saves it
    QString m_badLink; // the same with link 6 on capcode "12345a"
};

void TestConfirmedDelivery::initTestCase()
{
    m_file = m_dir.filePath(QStringLiteral("factory.led"));
    m_badLink = m_dir.filePath(QStringLiteral("bad-link.led"));
    MainState state = factoryState();
    tavrin::core::DefaultMessageStore store;
    QVERIFY(tavrin::core::saveConfiguration(m_file, state, store));
    state.config.links[6] = { QStringLiteral("12345a"), 0 };
    QVERIFY(tavrin::core::saveConfiguration(m_badLink, state, store));
}

void TestConfirmedDelivery::faultySign_data()
{
    QTest::addColumn<QStringList>("sign"); // the simulator's options
    QTest::addColumn<Action>("window"); // nothing: the row runs tavrin-cli instead
    QTest::addColumn<QStringList>("cli"); // FILE and BADLINK stand for the two files
    QTest::addColumn<int>("interruptAfter"); // SIGINT once the sign logged that many commands
    QTest::addColumn<QStringList>("received"); // everything the sign received
    QTest::addColumn<QString>("pending"); // in the window, after the run
    QTest::addColumn<QString>("says"); // the window's status, or what tavrin-cli printed
    QTest::addColumn<int>("exit");
    QTest::addColumn<QStringList>("resent"); // a second upload, to a sign that answers

    // clang-format off
    const Action force = [](MainController &c) { c.uploadEverything(); };
    const Action download = [](MainController &c) { c.download(); };
    // clang-format on
    const QStringList read { "DOWNLOAD_ALL\r" };
    const QStringList write { "write", "FILE", "--force", "--port", "1" };
    const QString noise = QStringLiteral("\\x81\\xfe#:~");
    const QString userDone = factoryLine(QStringLiteral("Reload when done"));

    // clang-format off
    QTest::newRow("1 noise with a colon answers row 2: the rest goes on, row 2 stays")
        << QStringList { "--answer", "3:" + noise } << force << QStringList {} << 0
        << forced() << "r2" << "Uploaded 14 of 15; not confirmed: Priority 2" << 0 << pick({ 2 });
    QTest::newRow("1 cli: noise answers row 2")
        << QStringList { "--answer", "4:" + noise } << Action {} << write << 0
        << read + forced() << "" << "tavrin-cli: COM 1: not confirmed: Priority 2" << 1 << QStringList {};
    QTest::newRow("2 a configuration cut after 18 fields is not read")
        << QStringList { "--cut-config", "18" } << download << QStringList {} << 0
        << read << "" << "The sign's reply could not be read; nothing of it was applied." << 0 << QStringList {};
    QTest::newRow("2 cli: read -o of a cut configuration saves nothing")
        << QStringList { "--cut-config", "18" } << Action {} << QStringList { "read", "-o", "OUT", "--port", "1" } << 0
        << read << "" << "could not be read" << 1 << QStringList {};
    QTest::newRow("silent sign: nothing confirmed, everything stays")
        << QStringList { "--silent" } << force << QStringList {} << 0 << forced() << "r0 r1 r2 r3 r4 l0 l1 l2 l3 l4 l5 l6 l7 id uc"
        << "Uploaded 0 of 15; the sign confirmed none of them." << 0 << forced();
    QTest::newRow("a sign that never ends a line confirms nothing")
        << QStringList { "--stream" } << Action([](MainController &c) { c.setCapcode(6, "606060"); c.upload(); }) << QStringList {} << 0
        << QStringList { "<link id=6 cap=0>\r", "<link id=6 cap=606060 pr=0>\r" } << "l6"
        << "Uploaded 0 of 1; not confirmed: Link 6" << 0 << QStringList { "<link id=6 cap=0>\r", "<link id=6 cap=606060 pr=0>\r" };
    QTest::newRow("3 the sign dies on row 2: row 2 and all after stay")
        << QStringList { "--die-after", "3" } << force << QStringList {} << 0
        << forced().mid(0, 3) << "r2 r3 r4 l0 l1 l2 l3 l4 l5 l6 l7 id uc" << "Uploaded 2 of 3; not confirmed: Priority 2" << 0 << forced().mid(2);
    QTest::newRow("3 the sign dies on link 0's clearing command: the link stays, sent whole again")
        << QStringList { "--die-after", "8" } << force << QStringList {} << 0
        << forced().mid(0, 8) << "l0 l1 l2 l3 l4 l5 l6 l7" << "Uploaded 7 of 8; not confirmed: Link 0" << 0 << forced().mid(7);
    QTest::newRow("3 cli: the sign dies on row 2")
        << QStringList { "--die-after", "4" } << Action {} << write << 0
        << read + forced().mid(0, 3) << "" << "tavrin-cli: COM 1: not confirmed: Priority 2" << 1 << QStringList {};
    QTest::newRow("4 every other command answered")
        << QStringList { "--answer-every", "2" } << force << QStringList {} << 0
        << forced() << "r0 r2 r4 l0 l1 l3 l4 l6 uc"
        << "Uploaded 6 of 15; not confirmed: Priority 0, Priority 2, Priority 4, User command, Link 0, Link 1, Link 3, Link 4, Link 6"
        << 0 << pick({ 0, 2, 4, 6, 7, 8, 9, 10, 12, 13, 14, 16 });
    QTest::newRow("4 cli: every other command answered")
        << QStringList { "--answer", "1:" + factoryLine(), "--answer-every", "2" } << Action {} << write << 0
        << read + forced() << "" << "tavrin-cli: COM 1: not confirmed: Priority 1" << 1 << QStringList {};
    QTest::newRow("5 a refused link is told and stays pending")
        << QStringList {} << Action([](MainController &c) { c.setCapcode(6, "12345a"); c.upload(); }) << QStringList {} << 0
        << QStringList { "<link id=6 cap=0>\r", "<link id=6 cap=12345a pr=0>\r" } << "l6"
        << "Uploaded 0 of 1; refused by the sign: Link 6" << 0 << QStringList { "<link id=6 cap=0>\r", "<link id=6 cap=12345a pr=0>\r" };
    QTest::newRow("5 cli: a refused link")
        << QStringList {} << Action {} << QStringList { "write", "BADLINK", "--port", "1" } << 0
        << read + QStringList { "<link id=6 cap=0>\r", "<link id=6 cap=12345a pr=0>\r" } << ""
        << "tavrin-cli: COM 1: refused by the sign: Link 6" << 1 << QStringList {};
    QTest::newRow("6 cli: find a sign whose user command holds done")
        << QStringList { "--answer", "1:" + userDone } << Action {} << QStringList { "find" } << 0
        << read << "" << "COM 1 KR4410" << 0 << QStringList {};
    QTest::newRow("7 cli: clock answered Undone")
        << QStringList { "--answer", "2:Undone" } << Action {} << QStringList { "clock", "--port", "1" } << 0
        << QStringList {} << "" << "tavrin-cli: COM 1: the sign did not confirm the command; it answered: Undone" << 1 << QStringList {};
    QTest::newRow("8 cli: interrupted between a link's two commands")
        << QStringList {} << Action {} << write << 9
        << read + forced().mid(0, 9) << "" << "tavrin-cli: interrupted after " << 130 << QStringList {};
    // clang-format on
}

void TestConfirmedDelivery::faultySign()
{
    QFETCH(QStringList, sign);
    QFETCH(Action, window);
    QFETCH(QStringList, cli);
    QFETCH(int, interruptAfter);
    QFETCH(QStringList, received);
    QFETCH(QString, pending);
    QFETCH(QString, says);
    QFETCH(int, exit);
    QFETCH(QStringList, resent);

    SignSimProcess sim(sign);
    QVERIFY(sim.startOnPort(1));

    if (!window) {
        const QString output = m_dir.filePath(QStringLiteral("out.led"));
        for (QString &argument : cli) {
            argument.replace(QStringLiteral("BADLINK"), m_badLink);
            argument.replace(QStringLiteral("FILE"), m_file);
            argument.replace(QStringLiteral("OUT"), output);
        }
        QProcess process;
        process.start(qEnvironmentVariable("TAVRIN_CLI"), cli);
        QVERIFY(process.waitForStarted());
        if (interruptAfter > 0) {
            QVERIFY(sim.waitForCommands(interruptAfter, 20000));
            ::kill(pid_t(process.processId()), SIGINT);
        }
        QVERIFY(process.waitForFinished(60000));
        const QString printed = QString::fromUtf8(process.readAllStandardOutput())
            + QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(printed.contains(says), qPrintable(printed));
        QCOMPARE(process.exitCode(), exit);
        QVERIFY(!QFile::exists(output));
        if (interruptAfter > 0) {
            // A busy machine may see the signal an item later; a link is never left cleared
            // without its setting command.
            QVERIFY(sim.waitForCommands(int(received.size())));
            const QStringList got = sim.receivedCommands();
            QCOMPARE(got.mid(0, received.size()), received);
            QVERIFY2(!QRegularExpression("^<link id=[013] cap=0>").match(got.last()).hasMatch(),
                     qPrintable(got.last()));
        } else if (!received.isEmpty()) {
            sim.waitForCommands(int(received.size()) + 1, 1000); // nothing more may come
            QCOMPARE(sim.receivedCommands(), received);
        }
        // The port and its lock are released, even when interrupted.
        const QString lock = "/var/lock/LCK.." + sim.devicePath().mid(5).replace(u'/', u'_');
        QVERIFY2(!QFile::exists(lock), qPrintable(lock));
        return;
    }

    MainController controller;
    QStringList boxes;
    connect(&controller, &MainController::messageRequested, this,
            [&boxes](const QString &, const QString &text) { boxes << text; });
    const bool readOnly = received == QStringList { "DOWNLOAD_ALL\r" };
    if (!readOnly) // an upload starts from what the sign holds
        controller.setState(factoryState());
    window(controller);
    QTRY_VERIFY_WITH_TIMEOUT(!controller.isBusy(), 20000);
    QCOMPARE(sim.receivedCommands(), received);
    QCOMPARE(pendingItems(controller.state().flags), pending);
    QCOMPARE(controller.state().status, says);
    // Noise never passes for the sign: the model is the one read, or none.
    QCOMPARE(controller.state().modelLabel, readOnly ? QString() : kModel);
    QCOMPARE(boxes.size(), sign.contains("--die-after") ? 1 : 0); // the lost line is told

    // A second upload, to a sign that answers, sends exactly what was not confirmed, and
    // then nothing is left.
    SignSimProcess good;
    QVERIFY(good.startOnPort(2));
    controller.setPortIndex(1);
    controller.upload();
    QTRY_VERIFY_WITH_TIMEOUT(!controller.isBusy(), 20000);
    QCOMPARE(good.receivedCommands(), resent);
    if (resent.isEmpty() || !resent.last().contains("12345a"))
        QCOMPARE(pendingItems(controller.state().flags), QString());
}

QTEST_GUILESS_MAIN(TestConfirmedDelivery)
#include "tst_confirmed_delivery.moc"
