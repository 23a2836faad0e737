#include "link/OpenResult.h"
#include "link/PortMap.h"

#include <QTest>

using namespace tavrin::link;

class TestPortMap : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void ordering_data();
    void ordering();
    void device_data();
    void device();
    void openFailure_data();
    void openFailure();
};

void TestPortMap::initTestCase()
{
    for (int k = 0; k <= kLastPortNumber + 1; ++k)
        qputenv(qPrintable(QStringLiteral("TAVRIN_COM%1").arg(k)),
                QByteArray("/nonexistent/tavrin-test/com") + QByteArray::number(k));
}

// Names with a trailing "*" report a USB vendor id.
static QList<PortDescription> describe(const QStringList &names)
{
    QList<PortDescription> ports;
    for (QString name : names) {
        const bool vendor = name.endsWith(QLatin1Char('*'));
        if (vendor)
            name.chop(1);
        ports.append({ name, QStringLiteral("/dev/") + name, vendor });
    }
    return ports;
}

static QStringList placeholders(int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("ttyS%1").arg(i);
    return names;
}

void TestPortMap::ordering_data()
{
    QTest::addColumn<QStringList>("reported");
    QTest::addColumn<QStringList>("ordered");

    QTest::newRow("numbers compare as numbers")
        << QStringList { "ttyS10", "ttyS2", "ttyS1" } << QStringList { "ttyS1", "ttyS2", "ttyS10" };
    QTest::newRow("usb adapter before placeholders") << QStringList { "ttyS0", "ttyS1", "ttyUSB0" }
                                                     << QStringList { "ttyUSB0", "ttyS0", "ttyS1" };
    QTest::newRow("ACM counts as usb")
        << QStringList { "ttyS0", "ttyACM0" } << QStringList { "ttyACM0", "ttyS0" };
    QTest::newRow("a usb vendor id counts as usb")
        << QStringList { "ttyS0", "ttyXR3*" } << QStringList { "ttyXR3", "ttyS0" };
    QTest::newRow("usb group sorted naturally")
        << QStringList { "ttyUSB10", "ttyS0", "ttyUSB2", "ttyACM0" }
        << QStringList { "ttyACM0", "ttyUSB2", "ttyUSB10", "ttyS0" };

    QStringList many = placeholders(32);
    QTest::newRow("adapter is COM 1 among 32 placeholders")
        << (QStringList(many) << "ttyUSB0") << (QStringList { "ttyUSB0" } + many);
    std::reverse(many.begin(), many.end());
    QTest::newRow("placeholders reported backwards") << many << placeholders(32);
}

void TestPortMap::ordering()
{
    QFETCH(QStringList, reported);
    QFETCH(QStringList, ordered);

    QStringList names;
    const QList<PortDescription> ports = orderPorts(describe(reported));
    for (const PortDescription &port : ports) {
        QCOMPARE(port.systemLocation, QStringLiteral("/dev/") + port.portName);
        names << port.portName;
    }
    QCOMPARE(names, ordered);
}

void TestPortMap::device_data()
{
    QTest::addColumn<int>("portNumber");
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("toolTip");

    QTest::newRow("variable wins even for a missing path")
        << 3 << QByteArray("/dev/does-not-exist") << "/dev/does-not-exist"
        << "/dev/does-not-exist";
    QTest::newRow("port 12 has a variable too") << 12 << QByteArray("/tmp/sign12") << "/tmp/sign12"
                                                << "/tmp/sign12";
    QTest::newRow("empty variable means no device") << 5 << QByteArray() << ""
                                                    << "no device";
    QTest::newRow("port 0 is out of range") << 0 << QByteArray("/tmp/x") << ""
                                            << "no device";
    QTest::newRow("port 13 is out of range") << 13 << QByteArray("/tmp/x") << ""
                                             << "no device";
}

void TestPortMap::device()
{
    QFETCH(int, portNumber);
    QFETCH(QByteArray, variable);
    QFETCH(QString, device);
    QFETCH(QString, toolTip);

    const QByteArray name = "TAVRIN_COM" + QByteArray::number(portNumber);
    const QByteArray saved = qgetenv(name.constData());
    qputenv(name.constData(), variable);
    QCOMPARE(deviceForPort(portNumber), device);
    QCOMPARE(portToolTip(portNumber), toolTip);
    qputenv(name.constData(), saved);
}

void TestPortMap::openFailure_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("accessible");
    QTest::addColumn<OpenError>("kind");
    QTest::addColumn<QStringList>("mentions");
    QTest::addColumn<bool>("hint");

    const QString text = QStringLiteral("Serial layer text");
    QTest::newRow("missing device is not found")
        << int(QSerialPort::DeviceNotFoundError) << true << OpenError::NotFound
        << QStringList { text } << false;
    QTest::newRow("no access gives the hint")
        << int(QSerialPort::PermissionError) << false << OpenError::PermissionDenied
        << QStringList { text, "/dev/ttyUSB0", "read and write access" } << true;
    QTest::newRow("permission error on an accessible device means in use")
        << int(QSerialPort::PermissionError) << true << OpenError::InUse << QStringList { text }
        << false;
    QTest::newRow("other errors keep the serial text")
        << int(QSerialPort::UnsupportedOperationError) << true << OpenError::Other
        << QStringList { text } << false;
}

void TestPortMap::openFailure()
{
    QFETCH(int, error);
    QFETCH(bool, accessible);
    QFETCH(OpenError, kind);
    QFETCH(QStringList, mentions);
    QFETCH(bool, hint);

    const OpenResult result = tavrin::link::openFailure(QSerialPort::SerialPortError(error),
                                                        QStringLiteral("Serial layer text"),
                                                        QStringLiteral("/dev/ttyUSB0"), accessible);
    QVERIFY(!result.ok());
    QCOMPARE(result.error, kind);
    for (const QString &mention : mentions)
        QVERIFY2(result.description.contains(mention), qPrintable(result.description));
    QCOMPARE(result.description.contains(QStringLiteral("access")), hint);
#ifdef Q_OS_LINUX
    QCOMPARE(result.description.contains(QStringLiteral("\"dialout\" group")), hint);
#endif

    const OpenResult none = noDeviceFailure(7);
    QCOMPARE(none.error, OpenError::NotFound);
    QCOMPARE(none.description, QStringLiteral("no serial device for COM 7"));
}

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_port_map.moc"
