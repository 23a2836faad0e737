#include "ModelProfile.h"
#include "Vocabulary.h"

#include <QTest>

using namespace tavrin::vocab;

// The rule every list selects a code by, and the exact model name that switches to the VX903
// lists. The lists themselves are held by the tests that read a sign's codes into them.
class TestVocabulary : public QObject
{
    Q_OBJECT

private slots:
    void selectByCode_data();
    void selectByCode();
    void vx903ByExactName();
};

void TestVocabulary::selectByCode_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("selected"); // in a list of five entries with the third selected
    QTest::newRow("-1 clears") << -1 << -1;
    QTest::newRow("past the end changes nothing") << 5 << 2;
    QTest::newRow("below -1 changes nothing") << -2 << 2;
}

void TestVocabulary::selectByCode()
{
    QFETCH(int, code);
    QTEST(tavrin::vocab::selectByCode(2, code, 5), "selected");
}

void TestVocabulary::vx903ByExactName()
{
    for (const char *model : { "KR4410", "", "vx903", "VX903 ", "VX903" }) {
        const QString name = QString::fromLatin1(model);
        const bool vx903 = name == QStringLiteral("VX903");
        QVERIFY2(mainProfile(name).vx903 == vx903 && testMessageProfile(name).vx903 == vx903
                     && defaultMessageProfile(name).vx903 == vx903,
                 model);
    }
}

QTEST_APPLESS_MAIN(TestVocabulary)
#include "tst_vocabulary.moc"
