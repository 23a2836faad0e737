#include "editors/HelpText.h"

#include <QTest>

class TestHelpText : public QObject
{
    Q_OBJECT

private slots:
    void softwareVersion_data();
    void softwareVersion();
};

void TestHelpText::softwareVersion_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("expected"); // empty: the design text stays
    QTest::newRow("the main caption") << "Sign Configuration Manager ver 4.72"
                                      << "Version : 4.72";
    QTest::newRow("no marker") << "Sign Configuration Manager 4.72"
                               << "";
    QTest::newRow("text after the first marker only") << "a ver 1 ver 2"
                                                      << "Version : 1 ";
    QTest::newRow("a colon cuts the version") << "Manager ver 4.72:beta"
                                              << "Version : 4.72";
}

void TestHelpText::softwareVersion()
{
    QFETCH(QString, caption);
    QFETCH(QString, expected);
    QCOMPARE(tavrin::editors::softwareVersionText(caption).value_or(QString()), expected);
}

QTEST_APPLESS_MAIN(TestHelpText)
#include "tst_help_text.moc"
