#include "core/DefaultMessageStore.h"

#include <QTest>

using tavrin::core::DefaultMessageStore;

class TestDefaultMessageStore : public QObject
{
    Q_OBJECT

private slots:
    void startUp()
    {
        const DefaultMessageStore store;
        QVERIFY(store.IsDefMsgEmpty());
        QCOMPARE(store.getSaveSettingsTick(), qint16(1));
        QCOMPARE(store.getDefaultMsg(), QString(",,0,0,0,0,0,0"));
    }

    void defaultMsg_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("deleteName"); // DeleteConfigFileName after the save
        QTest::addColumn<QString>("expected");

        QTest::newRow("no file: first field empty") << "" << false << ",Hi, you,1,2,3,0,-1,9";
        QTest::newRow("file name leads, commas kept")
            << "C:/x,y" << false << "C:/x,y,Hi, you,1,2,3,0,-1,9";
        QTest::newRow("deleting the name keeps the record")
            << "/u/s.led" << true << ",Hi, you,1,2,3,0,-1,9";
    }

    void defaultMsg()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, deleteName);
        QFETCH(QString, expected);
        DefaultMessageStore store;
        store.configFileName = fileName;
        store.SaveDefaultMsg("Hi, you", 1, 2, 3, 0, -1, 9);
        if (deleteName)
            store.DeleteConfigFileName();
        QCOMPARE(store.getDefaultMsg(), expected);
        QCOMPARE(store.IsDefMsgEmpty(), expected.startsWith(','));
        QCOMPARE(store.defaultMsgSummary(),
                 QString("Message:Hi, you, Font:1, Color:2, Style:3, Align:0, Speed:-1, Pause:9"));
    }
};

QTEST_APPLESS_MAIN(TestDefaultMessageStore)
#include "tst_default_message_store.moc"
