#include "PortMap.h"

#include <QTest>

using namespace tavrin::link;

class TestPortMap : public QObject
{
    Q_OBJECT

private slots:
    void ordering_data();
    void ordering();
    void device();
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
    qputenv("TAVRIN_COM5", QByteArray()); // an empty variable means no device
    QCOMPARE(portToolTip(5), "no device");
    for (const int outOfRange : { 0, 13 }) {
        qputenv(("TAVRIN_COM" + QByteArray::number(outOfRange)).constData(), "/tmp/x");
        QCOMPARE(deviceForPort(outOfRange), QString());
    }
}

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_port_map.moc"
