#include "core/DefaultMessageStore.h"

#include <QTest>

using tavrin::core::DefaultMessageStore;

class TestDefaultMessageStore : public QObject
{
    Q_OBJECT

private slots:
    void startUp();
    void defaultMsg_data();
    void defaultMsg();
    void deleteConfigFileNameKeepsRecord();
    void summary();
    void saveSettingsTick();
};

void TestDefaultMessageStore::startUp()
{
    const DefaultMessageStore store;
    QVERIFY(store.IsDefMsgEmpty());
    QCOMPARE(store.getSaveSettingsTick(), qint16(1));
    QCOMPARE(store.getDefaultMsg(), QString(",,0,0,0,0,0,0"));
}

void TestDefaultMessageStore::defaultMsg_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QList<int>>("codes"); // font, colour, style, align, speed, pause
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("fields");

    QTest::newRow("no file: first field empty, still empty")
        << ""
        << "Hello" << QList<int> { 1, 2, 3, 0, 2, 1 } << ",Hello,1,2,3,0,2,1" << true << 8;
    QTest::newRow("file name leads and makes it non-empty")
        << "/home/u/sign.led"
        << "Hi" << QList<int> { 5, 0, 0, 2, 4, 9 } << "/home/u/sign.led,Hi,5,0,0,2,4,9" << false
        << 8;
    QTest::newRow("codes keep their order and sign")
        << ""
        << "" << QList<int> { -1, 12, 27, 2, 4, -1 } << ",,-1,12,27,2,4,-1" << true << 8;
    QTest::newRow("comma in message gives a ninth field")
        << ""
        << "a,b" << QList<int> { 0, 0, 0, 0, 0, 0 } << ",a,b,0,0,0,0,0,0" << true << 9;
    QTest::newRow("comma in path gives a ninth field")
        << "C:/x,y.led"
        << "m" << QList<int> { 0, 0, 0, 0, 0, 0 } << "C:/x,y.led,m,0,0,0,0,0,0" << false << 9;
}

void TestDefaultMessageStore::defaultMsg()
{
    QFETCH(QString, fileName);
    QFETCH(QString, message);
    QFETCH(QList<int>, codes);
    QFETCH(QString, expected);
    QFETCH(bool, empty);
    QFETCH(int, fields);

    DefaultMessageStore store;
    store.configFileName = fileName;
    store.SaveDefaultMsg(message, qint16(codes[0]), qint16(codes[1]), qint16(codes[2]),
                         qint16(codes[3]), qint16(codes[4]), qint16(codes[5]));
    QCOMPARE(store.getDefaultMsg(), expected);
    QCOMPARE(store.getDefaultMsg().split(QLatin1Char(',')).size(), fields);
    QCOMPARE(store.IsDefMsgEmpty(), empty);
    QCOMPARE(store.getDefaultMsg(), expected); // building it changes nothing
}

void TestDefaultMessageStore::deleteConfigFileNameKeepsRecord()
{
    DefaultMessageStore store;
    store.configFileName = QStringLiteral("/tmp/a.led");
    store.SaveDefaultMsg(QStringLiteral("Hello"), 1, 2, 3, 0, 2, 1);
    QVERIFY(!store.IsDefMsgEmpty());
    store.DeleteConfigFileName();
    QVERIFY(store.IsDefMsgEmpty());
    QCOMPARE(store.getDefaultMsg(), QString(",Hello,1,2,3,0,2,1"));
}

void TestDefaultMessageStore::summary()
{
    DefaultMessageStore store;
    QCOMPARE(store.defaultMsgSummary(),
             QString("Message:, Font:0, Color:0, Style:0, Align:0, Speed:0, Pause:0"));
    store.SaveDefaultMsg(QStringLiteral("Hello"), 1, 2, 3, 0, 4, 9);
    QCOMPARE(store.defaultMsgSummary(),
             QString("Message:Hello, Font:1, Color:2, Style:3, Align:0, Speed:4, Pause:9"));
}

void TestDefaultMessageStore::saveSettingsTick()
{
    DefaultMessageStore store;
    store.setSaveSettingsTick(0);
    QCOMPARE(store.getSaveSettingsTick(), qint16(0));
    store.setSaveSettingsTick(1);
    QCOMPARE(store.getSaveSettingsTick(), qint16(1));
    QCOMPARE(store.getDefaultMsg(), QString(",,0,0,0,0,0,0")); // the tick is not in the record
}

QTEST_APPLESS_MAIN(TestDefaultMessageStore)
#include "tst_default_message_store.moc"
