#include "editors/ClockCommand.h"
#include "editors/DefaultMessageEditor.h"
#include "editors/DefaultMessageProtocol.h"
#include "editors/DefaultMessageRecord.h"

#include "SignSimProcess.h"

#include <QTest>

using namespace tavrin::editors;
using tavrin::vocab::Attribute;

namespace {

constexpr int kAbsent = -99; // a record field that was not read

int orAbsent(const std::optional<qint16> &value)
{
    return value ? *value : kAbsent;
}

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

// An editor opened on a stored record (no serial traffic) for a KR4410 sign.
struct StoredEditor
{
    tavrin::core::DefaultMessageStore store;
    std::unique_ptr<DefaultMessageEditor> editor;

    explicit StoredEditor(const QString &message, const QString &model = QStringLiteral("KR4410"),
                          qint16 font = 1)
    {
        store.configFileName = QStringLiteral("sign.led");
        store.SaveDefaultMsg(message, font, 2, 3, 1, 4, 5);
        editor = std::make_unique<DefaultMessageEditor>(store, MainWindowView { model, model, 0 });
        editor->Form_Load();
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
    void clockCommandFields_data();
    void clockCommandFields();
    void openingFromStore_data();
    void openingFromStore();
    void unsendableCharacterBlocksUpload_data();
    void unsendableCharacterBlocksUpload();
};

void TestDefaultMessage::recordDecoding_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QList<int>>("codes"); // font, style, colour, speed, alignment, pause
    QTest::addColumn<QString>("text");

    QTest::newRow("KR4410 sends character codes")
        << QStringLiteral("KR4410:65,66,67,50,50,51,0,0,HELLO") << QList { 1, 1, 2, 2, 1, 3 }
        << QStringLiteral("HELLO");
    QTest::newRow("KR4410 font 64 is index 0") << QStringLiteral("KR4410:64,65,65,48,49,48,0,0,x")
                                               << QList { 0, 0, 0, 0, 0, 0 } << QStringLiteral("x");
    QTest::newRow("other models send the numbers")
        << QStringLiteral("TM207:64,65,65,48,49,48,0,0,x") << QList { 64, 65, 65, 48, 49, 48 }
        << QStringLiteral("x");
    QTest::newRow("model compared exactly") << QStringLiteral("kr4410:64,1,2,3,0,4,0,0,x")
                                            << QList { 64, 1, 2, 3, 0, 4 } << QStringLiteral("x");
    QTest::newRow("VX903 line break and time characters")
        << latin1("VX903:2,17,8,0,0,9,0,0,A\xaa"
                  "B \xab\xac\xad\xae\xaf\xb0\xb1\xb2")
        << QList { 2, 17, 8, 0, 0, 9 }
        << QStringLiteral("A\r\nB <hh:mm:ss><hh:mm:ss A/PM><hh:mm><hh:mm A/PM><mm/dd/yyyy>"
                          "<yyyy-mm-dd><dd.MM yyyy><mm'dd'yy>");
    QTest::newRow("text ends at a comma") << QStringLiteral("LX200:1,2,3,4,0,5,0,0,one,two")
                                          << QList { 1, 2, 3, 4, 0, 5 } << QStringLiteral("one");
    QTest::newRow("text ends at a second colon")
        << QStringLiteral("LX200:1,2,3,4,0,5,0,0,at 12:30") << QList { 1, 2, 3, 4, 0, 5 }
        << QStringLiteral("at 12");
    QTest::newRow("leading digits, else 0; too big is skipped")
        << QStringLiteral("LX200:7x,abc,,99999,2 ,-3,0,0,") << QList { 7, 0, 0, kAbsent, 2, 0 }
        << QString();
    QTest::newRow("short record reads what it has")
        << QStringLiteral("KR4410:65,66") << QList { 1, 1, kAbsent, kAbsent, kAbsent, kAbsent }
        << QStringLiteral("<absent>");
}

void TestDefaultMessage::recordDecoding()
{
    QFETCH(QString, line);
    QFETCH(QList<int>, codes);
    QFETCH(QString, text);
    const DefaultMessageRecord r = decodeDefaultMessageRecord(line);
    const QList<int> decoded { orAbsent(r.font),  orAbsent(r.style),     orAbsent(r.color),
                               orAbsent(r.speed), orAbsent(r.alignment), orAbsent(r.pause) };
    QCOMPARE(decoded, codes);
    QCOMPARE(r.text.value_or(QStringLiteral("<absent>")), text);
}

void TestDefaultMessage::replyRules_data()
{
    QTest::addColumn<bool>("timeOn");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("ack");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("shownMessage");
    QTest::addColumn<int>("font");

    const QString on = QStringLiteral("is ON");
    const QString off = QStringLiteral("is OFF");
    const QString hi = QStringLiteral("Hi");
    const QString ok = QStringLiteral("Upload Successfull");
    const QString remove = DefaultMessageEditor::kRemoveMessageText;
    const QString none;

    QTest::newRow("empty line") << false << hi << QString() << none << off << hi << 1;
    QTest::newRow("done anywhere, any case") << false << hi << "xDoNe:65" << ok << off << hi << 1;
    QTest::newRow("done, time on, message") << true << hi << "done" << remove << on << hi << 1;
    QTest::newRow("done, time on, no message") << true << none << "done" << ok << on << none << 1;
    QTest::newRow("error in any case") << false << hi << "ERROR" << none << off << hi << 1;
    QTest::newRow("TIME status on") << false << hi << "TIME:STATUS:1" << none << on << hi << 1;
    QTest::newRow("TIME status other") << true << hi << "TIME:STATUS:1 " << none << off << hi << 1;
    QTest::newRow("TIME without status part")
        << true << hi << "TIME:STATUS" << none << on << hi << 1;
    QTest::newRow("default ack") << false << hi << "default msg"
                                 << "Default message uploaded successfully" << off << hi << 1;
    QTest::newRow("Default is exact case")
        << false << hi << "Default msg" << none << off << hi << 1;
    QTest::newRow("clock ack") << false << hi << "clock: Set Time OK" << none << off << hi << 1;
    QTest::newRow("record") << false << hi << latin1("KR4410:68,65,65,48,49,48,0,0,New\xaa") << none
                            << off << "New\r\n"
                            << 4;
    QTest::newRow("record font beyond the list")
        << false << hi << "KR4410:99,65,65,48,49,48,0,0,x" << none << off << "x" << 1;
}

void TestDefaultMessage::replyRules()
{
    QFETCH(bool, timeOn);
    QFETCH(QString, message);
    QFETCH(QString, line);
    StoredEditor opened(message);
    DefaultMessageEditor &editor = *opened.editor;
    editor.RemoveAck_Timer();
    if (timeOn)
        editor.handleDefaultReply(QStringLiteral("TIME:STATUS:1"));

    editor.handleDefaultReply(line);
    QTEST(editor.state().ack, "ack");
    QTEST(editor.state().timeDisplayStatus, "status");
    QTEST(editor.state().message, "shownMessage");
    QTEST(editor.state().code(Attribute::Font), "font");
    QCOMPARE(editor.removeAckTimer().isActive(), !editor.state().ack.isEmpty());
}

void TestDefaultMessage::uploadCommand_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("timeOn");
    QTest::addColumn<QString>("command");

    QTest::newRow("empty message deletes") << QString() << false << "<del id=def>";
    QTest::newRow("empty message, time on") << QString() << true << "<del id=def>";
    QTest::newRow("time off") << "A\r\nB <hh:mm A/PM>" << false
                              << "<DF f=1 c=-1 s=3 a=0 sp=4 p=5>A$LB $T3";
    QTest::newRow("time on sends nothing") << "A" << true << "";
    QTest::newRow("one trailing break dropped") << "A\r\n\r\n"
                                                << false << "<DF f=1 c=-1 s=3 a=0 sp=4 p=5>A$L";
    QTest::newRow("placeholders in table order")
        << "<hh:mm:ss><hh:mm:ss A/PM><mm'dd'yy><hh:mm" << false
        << "<DF f=1 c=-1 s=3 a=0 sp=4 p=5>$T0$T1$T7<hh:mm";
}

void TestDefaultMessage::uploadCommand()
{
    QFETCH(QString, text);
    QFETCH(bool, timeOn);
    const MessageAttributes attributes { 1, -1, 3, 0, 4, 5 };
    QTEST(defaultMessageCommand(text, attributes, timeOn), "command");
    QCOMPARE(timeDisplayCommand(attributes, 6),
             QStringLiteral("<TIME f=1 c=-1 s=3 a=0 sp=4 p=5 fm=6>IDLE ON"));
}

void TestDefaultMessage::clockCommandFields_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("command");
    QTest::newRow("Sunday, single digits")
        << QDateTime(QDate(2024, 3, 3), QTime(7, 5, 9))
        << QStringLiteral("<Time time=07:05:09 date=2024/03/03-0>SET TIME\r");
    QTest::newRow("Saturday, last second")
        << QDateTime(QDate(2023, 12, 30), QTime(23, 59, 59))
        << QStringLiteral("<Time time=23:59:59 date=2023/12/30-6>SET TIME\r");
}

void TestDefaultMessage::clockCommandFields()
{
    QFETCH(QDateTime, now);
    QTEST(clockCommand(now), "command");
}

void TestDefaultMessage::openingFromStore_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("storedFont");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QList<int>>("codes"); // by list: font, colour, style, alignment, speed, pause

    const QList<int> none { -1, -1, -1, -1, -1, -1 };
    QTest::newRow("file record with its breaks")
        << "KR4410"
        << latin1("A\xaa"
                  "B\xad")
        << 1 << true << "A\r\nB<hh:mm>" << QList { 1, 2, 3, 1, 4, 5 };
    QTest::newRow("a comma: not loaded") << "KR4410"
                                         << "A,B" << 1 << false << "<hh:mm:ss>" << none;
    QTest::newRow("VX903 has four fonts") << "VX903"
                                          << "x" << 4 << true << "x" << QList { -1, 2, 3, 1, 4, 5 };
    QTest::newRow("other model: empty lists") << "LX200"
                                              << "x" << 1 << true << "x" << none;
}

void TestDefaultMessage::openingFromStore()
{
    QFETCH(QString, model);
    QFETCH(QString, stored);
    QFETCH(int, storedFont);
    QFETCH(bool, loaded);
    QFETCH(QList<int>, codes);
    StoredEditor opened(stored, model, qint16(storedFont));
    const DefaultMessageState &s = opened.editor->state();
    QTEST(s.message, "message");
    QList<int> selected;
    for (int i = 0; i < DefaultMessageState::kListCount; ++i)
        selected << s.codes[size_t(i)];
    QCOMPARE(selected, codes);
    QCOMPARE(s.timeFormat, 0);
    QCOMPARE(s.messageAlignment, qMax(codes[3], 0));
    QCOMPARE(s.ack, loaded ? QStringLiteral("Getting data from File sign.led") : QString());
    QCOMPARE(opened.store.configFileName, QStringLiteral("sign.led"));
    QCOMPARE(opened.editor->serialLink().portNumber(), 0); // nothing was sent

    opened.editor->Form_Unload();
    QCOMPARE(opened.store.DefMsg, s.message);
    opened.editor->Download_Click(); // port 1 leads nowhere, but the file no longer counts
    QVERIFY(opened.store.IsDefMsgEmpty());
    QVERIFY(s.downloadEnabled);
    QCOMPARE(opened.store.DefFont, codes[0]);
    QCOMPARE(opened.store.DefPause, codes[5]);
}

void TestDefaultMessage::unsendableCharacterBlocksUpload_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("named");
    QTest::newRow("euro sign") << QStringLiteral("Price 5\u20ac") << QStringLiteral("(U+20AC)");
    QTest::newRow("emoji") << QStringLiteral("Hi \U0001F600") << QStringLiteral("(U+1F600)");
    QTest::newRow("sign's time character") << latin1("a \xab b") << QStringLiteral("(U+00AB)");
    QTest::newRow("Latin-1 is fine") << QStringLiteral("Caf\u00e9 \u00a3") << QString();
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

    editor.Upload_Click(); // port 1 leads nowhere: only an unblocked upload tries to open it
    QCOMPARE(editor.serialLink().portNumber(), named.isEmpty() ? 1 : 0);
    if (!named.isEmpty())
        QCOMPARE(editor.state().ack, editor.state().unsendable);
}

QTEST_GUILESS_MAIN(TestDefaultMessage)
#include "tst_default_message.moc"
