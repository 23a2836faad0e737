#include "link/OpenResult.h"
#include "link/PortMap.h"

#include <QTest>

using namespace tavrin::link;

class TestPortMap : public QObject
{
    Q_OBJECT

private slots:
    void ordering_data();
    void ordering();
    void device();
    void openFailure_data();
    void openFailure();
};

// Names with a trailing "*" report a USB vendor id.
static QList<PortDescription> describe(const QStringList &names)
{
    QList<PortDescription> ports;
    for (const QString &name : names)
        ports.append(
            { QString(name).remove('*'), "/dev/" + QString(name).remove('*'), name.endsWith('*') });
    return ports;
}

void TestPortMap::ordering_data()
{
    QTest::addColumn<QStringList>("reported");
    QTest::addColumn<QStringList>("ordered");

    QTest::newRow("USB, ACM and a USB vendor id come first, sorted naturally")
        << QStringList { "ttyS0", "ttyUSB10", "ttyXR3*", "ttyUSB2", "ttyACM0" }
        << QStringList { "ttyACM0", "ttyUSB2", "ttyUSB10", "ttyXR3*", "ttyS0" };
    QStringList many;
    for (int i = 0; i < 32; ++i)
        many << QStringLiteral("ttyS%1").arg(i);
    QStringList backwards(many.crbegin(), many.crend());
    QTest::newRow("adapter is COM 1 among 32 placeholders, reported backwards")
        << (backwards << "ttyUSB0") << (QStringList { "ttyUSB0" } + many);
}

void TestPortMap::ordering()
{
    QFETCH(QStringList, reported);
    QFETCH(QStringList, ordered);
    QCOMPARE(orderPorts(describe(reported)), describe(ordered));
}

void TestPortMap::device()
{
    qputenv("TAVRIN_COM12", "/tmp/sign12"); // the variable wins even for a missing path
    QCOMPARE(deviceForPort(12), "/tmp/sign12");
    QCOMPARE(portToolTip(12), "/tmp/sign12");
    qputenv("TAVRIN_COM5", QByteArray()); // an empty variable means no device
    QCOMPARE(portToolTip(5), "no device");
    for (const int outOfRange : { 0, 13 }) {
        qputenv(("TAVRIN_COM" + QByteArray::number(outOfRange)).constData(), "/tmp/x");
        QCOMPARE(deviceForPort(outOfRange), QString());
    }
}

// Only a device we may not read and write gains the hint on how to get access; a held port
// is told by the serial link's tests.
void TestPortMap::openFailure_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<bool>("accessible");
    QTest::addColumn<OpenError>("kind");
    QTest::addColumn<QString>("start");

    QTest::newRow("no access gives the hint") << int(QSerialPort::PermissionError) << false
                                              << OpenError::PermissionDenied << "Serial text";
    QTest::newRow("other errors keep the serial text")
        << int(QSerialPort::UnsupportedOperationError) << true << OpenError::Other << "Serial text";
}

void TestPortMap::openFailure()
{
    QFETCH(int, error);
    QFETCH(bool, accessible);
    QFETCH(OpenError, kind);
    QFETCH(QString, start);

    const OpenResult result = tavrin::link::openFailure(QSerialPort::SerialPortError(error),
                                                        "Serial text", "/dev/ttyUSB0", accessible);
    QCOMPARE(result.error, kind);
    QVERIFY2(result.description.startsWith(start), qPrintable(result.description));
    const bool hint = kind == OpenError::PermissionDenied;
    QCOMPARE(result.fullText().contains("read and write access to /dev/ttyUSB0"), hint);
#ifdef Q_OS_LINUX
    QCOMPARE(result.fullText().contains("\"dialout\" group"), hint);
#endif
}

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_port_map.moc"
