#include "TestModule.h"

#include <QTest>

using tavrin::modules::ProgramModule;

class TestProgramModule : public QObject
{
    Q_OBJECT

private slots:
    void load_data();
    void load();
};

void TestProgramModule::load_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("entryPoint");
    QTest::addColumn<QString>("says"); // "" when it loads
    QTest::newRow("this version") << "tavrin_test_module_current"
                                  << "testModuleTable"
                                  << "";
    QTest::newRow("another version") << "tavrin_test_module_stale"
                                     << "testModuleTable"
                                     << "belongs to version 0.1, not to";
    QTest::newRow("no entry point") << "tavrin_test_module_current"
                                    << "noSuchTable"
                                    << "has no entry point noSuchTable";
    QTest::newRow("not installed") << "tavrin_no_such_module"
                                   << "testModuleTable"
                                   << "tavrin_no_such_module could not be loaded";
}

void TestProgramModule::load()
{
    QFETCH(QString, name);
    QFETCH(QString, entryPoint);
    QFETCH(QString, says);
    const QByteArray moduleName = name.toUtf8();
    const QByteArray entryName = entryPoint.toUtf8();
    ProgramModule module(moduleName.constData(), entryName.constData());
    // A second call tries again and tells the same.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const auto *table = module.table<TestModuleTable>();
        if (says.isEmpty()) {
            QVERIFY2(table, qPrintable(module.error()));
            QCOMPARE(table->answer(), 42);
            QVERIFY(module.error().isEmpty());
        } else {
            QVERIFY(!table);
            QVERIFY2(module.error().contains(says), qPrintable(module.error()));
        }
    }
}

QTEST_GUILESS_MAIN(TestProgramModule)
#include "tst_program_module.moc"
