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
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("deleteName"); // DeleteConfigFileName after the save
        QTest::addColumn<QString>("expected"); // for codes 1, 2, 3, 0, -1, 9

        QTest::newRow("no file: first field empty") << ""
                                                    << "Hello" << false << ",Hello,1,2,3,0,-1,9";
        QTest::newRow("file name leads") << "/u/s.led"
                                         << "Hi" << false << "/u/s.led,Hi,1,2,3,0,-1,9";
        QTest::newRow("deleting the name keeps the record") << "/u/s.led"
                                                            << "Hi" << true << ",Hi,1,2,3,0,-1,9";
        QTest::newRow("comma gives a ninth field") << "C:/x,y"
                                                   << "a,b" << false << "C:/x,y,a,b,1,2,3,0,-1,9";
    }

    void defaultMsg()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, message);
        QFETCH(bool, deleteName);
        QFETCH(QString, expected);
        DefaultMessageStore store;
        store.configFileName = fileName;
        store.SaveDefaultMsg(message, 1, 2, 3, 0, -1, 9);
        if (deleteName)
            store.DeleteConfigFileName();
        QCOMPARE(store.getDefaultMsg(), expected);
        QCOMPARE(store.IsDefMsgEmpty(), expected.startsWith(','));
        QCOMPARE(store.defaultMsgSummary(),
                 "Message:" + message + ", Font:1, Color:2, Style:3, Align:0, Speed:-1, Pause:9");
    }
};

QTEST_APPLESS_MAIN(TestDefaultMessageStore)
#include "tst_default_message_store.moc"
