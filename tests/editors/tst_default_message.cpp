#include "ClockCommand.h"
#include "DefaultMessageEditor.h"
#include "SignSimProcess.h"
#include "StoredMessage.h"

#include <QTest>

using namespace tavrin::editors;
using namespace tavrin::protocol;
using tavrin::vocab::Attribute;

namespace {

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

// An editor opened on a record from a configuration file: no serial traffic.
struct StoredEditor
{
    tavrin::core::DefaultMessageStore store;
    std::unique_ptr<DefaultMessageEditor> editor;

    explicit StoredEditor(const QString &message, const QString &model = QStringLiteral("KR4410"),
                          qint16 font = 1)
    {
        store.configFileName = QStringLiteral("sign.led");
        store.message = storedMessage(message, font, 2, 3, 1, 4, 5);
        editor = std::make_unique<DefaultMessageEditor>(store, MainWindowView { model, model, 0 });
        editor->open();
    }
};

} // namespace

class TestDefaultMessage : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void recordDecoding_data();
    void recordDecoding();
    void replyRules_data();
    void replyRules();
    void uploadCommand_data();
    void uploadCommand();
    void clockCommandFields();
    void openingFromStore();
    void unsendableCharacterBlocksUpload_data();
    void unsendableCharacterBlocksUpload();
};

void TestDefaultMessage::recordDecoding_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<int>>("codes"); // font style colour speed alignment pause; -9 unread
    QTest::addColumn<QString>("text");

    // clang-format off
    QTest::newRow("KR4410 sends character codes") << "KR4410:65,66,67,50,50,51,0,0,HI" << QList { 1, 1, 2, 2, 1, 3 } << "HI";
    QTest::newRow("others send numbers") << "TM207:64,65,65,48,49,48,0,0,x" << QList { 64, 65, 65, 48, 49, 48 } << "x";
    QTest::newRow("a CR LF sign's CR is not text") << "VX903:1,2,3,4,0,5,0,0,WELCOME\r" << QList { 1, 2, 3, 4, 0, 5 } << "WELCOME";
    QTest::newRow("model compared exactly") << "kr4410:64,1,2,3,0,4,0,0,x" << QList { 64, 1, 2, 3, 0, 4 } << "x";
    QTest::newRow("line break and time characters") << latin1("VX903:2,17,8,0,0,9,0,0,A\xaa" "B \xab\xac\xad\xae\xaf\xb0\xb1\xb2") << QList { 2, 17, 8, 0, 0, 9 }
        << "A\r\nB <hh:mm:ss><hh:mm:ss A/PM><hh:mm><hh:mm A/PM><mm/dd/yyyy><yyyy-mm-dd><dd.MM yyyy><mm'dd'yy>";
    QTest::newRow("text ends at a colon") << "LX200:1,2,3,4,0,5,0,0,at 12:30" << QList { 1, 2, 3, 4, 0, 5 } << "at 12";
    QTest::newRow("leading digits, else 0; beyond 16 bits unread") << "LX200:7x,abc,,99999,2 ,-3,0,0," << QList { 7, 0, 0, -9, 2, 0 } << "";
    QTest::newRow("short record") << "KR4410:65,66" << QList { 1, 1, -9, -9, -9, -9 } << "-";
    // clang-format on
}

void TestDefaultMessage::recordDecoding()
{
    QFETCH(QString, line);
    const DefaultMessageRecord r = decodeDefaultMessageRecord(line);
    QList<int> codes;
    for (const auto &code : r.codes)
        codes << code.value_or(-9);
    QTEST(codes, "codes");
    QTEST(r.text.value_or(QStringLiteral("-")), "text");
}

void TestDefaultMessage::replyRules_data()
{
    QTest::addColumn<bool>("timeOn");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("outstanding"); // the command waiting for an answer
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("ack");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("shownMessage");
    QTest::addColumn<int>("font");

    const QString on = QStringLiteral("is ON"), off = QStringLiteral("is OFF");
    const QString hi = QStringLiteral("Hi"), none;
    const QString ok = QStringLiteral("Upload Successfull");
    const QString message = QStringLiteral("<DF f=1 c=2 s=3 a=1 sp=4 p=5>Hi\r");
    const QString time = QStringLiteral("<TIME f=1 c=2 s=3 a=1 sp=4 p=5 fm=0>IDLE ON\r");
    const QString download = kDownloadDefaultMsgCommand, status = kTimeStatusCommand;
    const QString record = latin1("KR4410:68,65,65,48,49,48,0,0,New\xaa");

    // clang-format off
    QTest::newRow("empty line") << false << hi << message << "" << none << off << hi << 1;
    QTest::newRow("done confirms the message, any case") << false << hi << message << "DONE" << ok << off << hi << 1;
    QTest::newRow("done confirms the time display, no message") << true << none << time << "done" << ok << on << none << 1;
    QTest::newRow("a done that answers nothing claims nothing") << false << hi << download << "done" << none << off << hi << 1;
    QTest::newRow("error shows nothing until the send settles") << false << hi << message << "ERROR" << none << off << hi << 1;
    QTest::newRow("TIME status on") << false << hi << status << "TIME:STATUS:1" << none << on << hi << 1;
    QTest::newRow("a TIME line that answers nothing changes nothing") << false << hi << download << "TIME:STATUS:1" << none << off << hi << 1;
    QTest::newRow("default deleted is no upload") << false << none << "<del id=def>\r" << "default deleted" << "Default message deleted" << off << none << 1;
    QTest::newRow("clock confirmed") << false << hi << "<Time time=07:05:09 date=2024/03/03-0>SET TIME\r" << "SET TIME OK" << none << off << hi << 1;
    QTest::newRow("record") << false << hi << download << record << none << off << "New\r\n" << 4;
    QTest::newRow("a record that answers nothing changes nothing") << false << hi << status << record << none << off << hi << 1;
    // clang-format on
}

void TestDefaultMessage::replyRules()
{
    QFETCH(bool, timeOn);
    QFETCH(QString, message);
    QFETCH(QString, outstanding);
    QFETCH(QString, line);
    StoredEditor opened(message);
    DefaultMessageEditor &editor = *opened.editor;
    editor.clearAck();
    if (timeOn)
        editor.handleDefaultReply(SignAnswer::paired("TIME:STATUS:1", kTimeStatusCommand));

    editor.handleDefaultReply(SignAnswer::paired(line, outstanding));
    QTEST(editor.state().ack, "ack");
    QTEST(editor.state().timeDisplayStatus, "status");
    QTEST(editor.state().message, "shownMessage");
    QTEST(editor.state().code(Attribute::Font), "font");
}

void TestDefaultMessage::uploadCommand_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("timeOn");
    QTest::addColumn<QString>("command");
    const QString head = QStringLiteral("<DF f=1 c=-1 s=3 a=0 sp=4 p=5>");
    QTest::newRow("empty message deletes") << "" << false << "<del id=def>";
    QTest::newRow("empty message, time on") << "" << true << "<del id=def>";
    QTest::newRow("time off") << "A\r\nB <hh:mm A/PM>" << false << head + "A$LB $T3";
    QTest::newRow("time on sends nothing") << "A" << true << "";
    QTest::newRow("one trailing break dropped") << "A\r\n\r\n" << false << head + "A$L";
    QTest::newRow("placeholders in table order")
        << "<hh:mm:ss><hh:mm:ss A/PM><mm'dd'yy><hh:mm" << false << head + "$T0$T1$T7<hh:mm";
}

void TestDefaultMessage::uploadCommand()
{
    QFETCH(QString, text);
    QFETCH(bool, timeOn);
    const Attributes attributes {
        .font = 1, .style = 3, .color = -1, .speed = 4, .alignment = 0, .pause = 5
    };
    QTEST(defaultMessageCommand(text, attributes, timeOn), "command");
    QCOMPARE(timeDisplayCommand(attributes, 6),
             QStringLiteral("<TIME f=1 c=-1 s=3 a=0 sp=4 p=5 fm=6>IDLE ON"));
}

void TestDefaultMessage::clockCommandFields()
{
    QCOMPARE(clockCommand(QDateTime(QDate(2024, 3, 3), QTime(7, 5, 9))), // a Sunday
             QStringLiteral("<Time time=07:05:09 date=2024/03/03-0>SET TIME\r"));
    QCOMPARE(clockCommand(QDateTime(QDate(2023, 12, 30), QTime(23, 59, 59))), // a Saturday
             QStringLiteral("<Time time=23:59:59 date=2023/12/30-6>SET TIME\r"));
}

void TestDefaultMessage::openingFromStore()
{
    StoredEditor comma(QStringLiteral("A,B")); // nine fields: nothing loaded, nothing sent
    QCOMPARE(comma.editor->state().message, QStringLiteral("<hh:mm:ss>"));
    QCOMPARE(comma.editor->state().code(Attribute::Color), -1);
    QCOMPARE(comma.editor->serialLink().portNumber(), 0);

    StoredEditor vx903(QStringLiteral("x"), QStringLiteral("VX903"), 4); // four fonts only
    const DefaultMessageState &s = vx903.editor->state();
    QCOMPARE(QList<int>(s.codes.begin(), s.codes.end()), QList<int>({ -1, 2, 3, 1, 4, 5 }));
    vx903.editor->download(); // port 1 leads nowhere, but the file no longer counts
    QVERIFY(vx903.store.cameFromFile() == false);
    QVERIFY(s.downloadEnabled);
}

void TestDefaultMessage::unsendableCharacterBlocksUpload_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("named");
    QTest::newRow("euro sign") << QStringLiteral("Price 5\u20ac") << "\"\u20ac\" (U+20AC)";
    QTest::newRow("emoji") << QStringLiteral("Hi \U0001F600") << "(U+1F600)";
    QTest::newRow("sign's time character") << latin1("a \xab b") << "(U+00AB)";
    QTest::newRow("Latin-1 is fine") << QStringLiteral("Caf\u00e9 \u00a3") << "";
}

void TestDefaultMessage::unsendableCharacterBlocksUpload()
{
    QFETCH(QString, typed);
    QFETCH(QString, named);
    StoredEditor opened(QStringLiteral("x"));
    DefaultMessageEditor &editor = *opened.editor;
    editor.setMessageText(typed);
    QCOMPARE(editor.state().unsendable.isEmpty(), named.isEmpty());
    QVERIFY2(editor.state().unsendable.contains(named), qPrintable(editor.state().unsendable));

    editor.upload(); // port 1 leads nowhere: only an upload that is let through opens it
    QCOMPARE(editor.serialLink().portNumber(), named.isEmpty() ? 1 : 0);
}

QTEST_GUILESS_MAIN(TestDefaultMessage)
#include "tst_default_message.moc"
