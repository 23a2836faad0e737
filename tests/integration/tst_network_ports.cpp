// Ports on a serial device server: ser2net in front of the simulator, one raw TCP and one
// RFC 2217 accepter, each with a sign of its own, on 127.0.0.1 ports picked free.
#include "SessionHelpers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

using tavrin::core::MainController;

namespace {

quint16 freePort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost) ? probe.serverPort() : 0;
}

struct Run
{
    int status = -1;
    QString err;
    QByteArray out;
};

Run runCli(const QStringList &arguments)
{
    QProcess process;
    process.start(qEnvironmentVariable("TAVRIN_CLI"), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return { process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
             QString::fromUtf8(process.readAllStandardError()), process.readAllStandardOutput() };
}

} // namespace

class TestNetworkPorts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { isolateSerialPorts(); }
    void cleanupTestCase();
    void commandsOverTheNetwork_data();
    void commandsOverTheNetwork();
    void startupSearchFindsNetworkSign();
    void siteSurveyListsEverySign();
    void serverGoneMidUploadKeepsRowsPending(); // last: it ends the device server

private:
    QTemporaryDir m_dir;
    QProcess m_server;
    SignSimProcess m_rawSign;
    SignSimProcess m_telnetSign;
    QString m_raw; // socket://127.0.0.1:P
    QString m_telnet; // rfc2217://127.0.0.1:P
    QTcpServer m_silent; // the kernel takes its connections; nothing ever answers them
};

void TestNetworkPorts::initTestCase()
{
    QVERIFY(m_silent.listen(QHostAddress::LocalHost));
    const QString ser2net = QStandardPaths::findExecutable(
        QStringLiteral("ser2net"), { QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin") });
    if (ser2net.isEmpty())
        QSKIP("ser2net is not installed (scripts/bootstrap installs it)");
    QVERIFY(m_rawSign.start() && m_telnetSign.start());
    const quint16 rawPort = freePort();
    const quint16 telnetPort = freePort();
    QVERIFY(rawPort && telnetPort && rawPort != telnetPort);
    const QString config = QStringLiteral("connection: &raw\n"
                                          "  accepter: tcp,127.0.0.1,%1\n"
                                          "  connector: serialdev,%2,9600n81,local\n"
                                          "connection: &telnet\n"
                                          "  accepter: telnet(rfc2217),tcp,127.0.0.1,%3\n"
                                          "  connector: serialdev,%4,9600n81,local\n")
                               .arg(rawPort)
                               .arg(m_rawSign.devicePath())
                               .arg(telnetPort)
                               .arg(m_telnetSign.devicePath());
    const QString path = m_dir.filePath(QStringLiteral("ser2net.yaml"));
    QVERIFY(writeFileBytes(path, config.toUtf8()));
    m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server.start(ser2net,
                   { QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"), path,
                     QStringLiteral("-P"), m_dir.filePath(QStringLiteral("pid")) });
    QVERIFY(m_server.waitForStarted());
    for (const quint16 port : { rawPort, telnetPort }) {
        QVERIFY(QTest::qWaitFor([port] {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            return socket.waitForConnected(100);
        }));
    }
    m_raw = QStringLiteral("socket://127.0.0.1:%1").arg(rawPort);
    m_telnet = QStringLiteral("rfc2217://127.0.0.1:%1").arg(telnetPort);
}

void TestNetworkPorts::cleanupTestCase()
{
    m_server.kill();
    m_server.waitForFinished();
}

void TestNetworkPorts::commandsOverTheNetwork_data()
{
    QTest::addColumn<bool>("telnet"); // the RFC 2217 accepter, else the raw one
    QTest::addColumn<QString>("address"); // instead of the accepter's, when set
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("says");
    for (const bool telnet : { false, true }) {
        const char *kind = telnet ? "rfc2217" : "socket";
        for (const char *command : { "read", "clock", "send|Hello" })
            QTest::addRow("%s %s", kind, command) << telnet << QString() << command << 0 << "";
        QTest::addRow("%s write", kind) << telnet << QString() << "write" << 0 << "";
    }
    QTest::newRow("refused") << true << "rfc2217://127.0.0.1:1"
                             << "read" << 3 << "127.0.0.1:1 refused the connection";
    QTest::newRow("unknown host") << false << "socket://no-such-host.invalid:2217"
                                  << "read" << 3 << "the host no-such-host.invalid was not found";
    QTest::newRow("no such scheme") << false << "ftp://127.0.0.1:21"
                                    << "read" << 3 << "\"ftp://\" is no port address";
    // Connected, but the line is never set up: the port did not open, and no sign was asked.
    QTest::newRow("line never set up")
        << true << QStringLiteral("rfc2217://127.0.0.1:%1").arg(m_silent.serverPort()) << "read"
        << 3 << "did not answer the request to set the serial line";
}

void TestNetworkPorts::commandsOverTheNetwork()
{
    QFETCH(bool, telnet);
    QFETCH(QString, address);
    QFETCH(QString, command);
    QFETCH(int, status);
    QFETCH(QString, says);
    qputenv("TAVRIN_COM2", (address.isEmpty() ? (telnet ? m_telnet : m_raw) : address).toUtf8());
    const QStringList on2 { QStringLiteral("--port"), QStringLiteral("2") };
    if (command == u"write") { // an edit goes over, and only once it is confirmed
        const QString file = m_dir.filePath(QStringLiteral("sign.led"));
        QCOMPARE(
            runCli(QStringList { QStringLiteral("read"), QStringLiteral("-o"), file } + on2).status,
            0);
        QByteArray bytes = readFileBytes(file); // priority 0's timeout becomes 25
        const qsizetype line = bytes.indexOf("Pri0:");
        const qsizetype end = bytes.indexOf("\r\n", line);
        const qsizetype comma = bytes.lastIndexOf(',', end);
        QVERIFY(line >= 0 && comma > line);
        bytes.replace(comma + 1, end - comma - 1, "25");
        QVERIFY(writeFileBytes(file, bytes));
        const Run written = runCli(QStringList { QStringLiteral("write"), file } + on2);
        QVERIFY2(written.status == 0, qPrintable(written.err));
        QVERIFY(
            runCli(QStringList { QStringLiteral("read"), QStringLiteral("-o"), file } + on2).status
            == 0);
        QCOMPARE(readFileBytes(file), bytes);
        return;
    }
    const Run run = runCli(command.split(u'|') + on2);
    QVERIFY2(run.status == status && run.err.contains(says), qPrintable(run.err));
    if (status == 3)
        QVERIFY2(!run.err.contains(QStringLiteral("sign")), qPrintable(run.err));
}

// The window's start-up search reaches a sign behind the device server like a local one.
void TestNetworkPorts::startupSearchFindsNetworkSign()
{
    qputenv("TAVRIN_COM5", m_telnet.toUtf8());
    MainController controller;
    QSignalSpy finished(&controller, &MainController::searchFinished);
    controller.startPortSearch();
    QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 20000);
    QCOMPARE(controller.state().portIndex + 1, 5);
    QCOMPARE(controller.state().modelLabel, QStringLiteral("KR4410"));
}

// find --all: both signs behind the server, and a local one, each with its address and model.
void TestNetworkPorts::siteSurveyListsEverySign()
{
    SignSimProcess local;
    QVERIFY(local.startOnPort(9));
    qputenv("TAVRIN_COM2", m_raw.toUtf8());
    qputenv("TAVRIN_COM5", m_telnet.toUtf8());
    const Run run
        = runCli({ QStringLiteral("find"), QStringLiteral("--all"), QStringLiteral("--json") });
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QStringList found;
    for (const QJsonValue &sign : QJsonDocument::fromJson(run.out).array())
        found << QStringLiteral("%1 %2 %3 %4")
                     .arg(sign[u"port"].toInt())
                     .arg(sign[u"device"].toString(), sign[u"model"].toString())
                     .arg(sign[u"build"].toInt());
    QCOMPARE(found,
             QStringList({ QStringLiteral("2 %1 KR4410 5").arg(m_raw),
                           QStringLiteral("5 %1 KR4410 5").arg(m_telnet),
                           QStringLiteral("9 %1 KR4410 5").arg(local.devicePath()) }));
}

// The device server dies after the first row went out: what it did not confirm stays pending.
void TestNetworkPorts::serverGoneMidUploadKeepsRowsPending()
{
    qputenv("TAVRIN_COM3", m_telnet.toUtf8());
    MainController controller;
    controller.setPortIndex(2);
    QVERIFY(downloadFromSign(controller));
    for (int row = 0; row < tavrin::core::kRows; ++row)
        controller.setTimeoutText(row, QStringLiteral("33"));
    connect(&controller, &MainController::uploadCommandSent, this, [this] { m_server.kill(); });
    controller.upload();
    QTRY_VERIFY_WITH_TIMEOUT(!controller.isBusy(), 10000);
    const auto &rows = controller.state().flags.row;
    QVERIFY(std::all_of(rows.begin() + 1, rows.end(), [](bool pending) { return pending; }));
    QVERIFY(rows[0] || controller.state().image.timeout[0] == 33); // confirmed, or not
}

QTEST_GUILESS_MAIN(TestNetworkPorts)
#include "tst_network_ports.moc"
