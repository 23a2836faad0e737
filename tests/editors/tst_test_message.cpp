#include "MainController.h"
#include "SignSimProcess.h"
#include "TestMessageEditor.h"

#include <QTest>

using namespace tavrin::editors;
using namespace tavrin::protocol;
using tavrin::core::MainController;
using tavrin::vocab::Attribute;

namespace {

// A window-less editor opened on priority 0 = font 0, colour 0 (unless given), pause 3,
// speed 2, timeout 10.
struct Opened
{
    MainController main;
    std::unique_ptr<TestMessageEditor> editor;

    explicit Opened(Code font = 0, Code color = 0)
    {
        tavrin::core::MainState state = main.state();
        for (auto &row : state.config.rows)
            row = { { font, 0, color, 2, 0, 3, 0 }, QStringLiteral("10") };
        main.setState(state);
        main.defaultMessage().saveSettingsTick = 0;
        editor = std::make_unique<TestMessageEditor>(main);
        editor->open();
    }
};

// font: "" unformatted, "6" a preview row, "Times New Roman,11,u" face, size and b/u flags;
// colour: "" none, "3" a preview colour, "#rrggbb".
QTextCharFormat formatOf(const QString &font, const QString &color)
{
    QTextCharFormat format;
    const QStringList parts = font.split(u',');
    if (parts.size() == 3) {
        format.setFontFamilies({ parts[0] });
        format.setFontPointSize(parts[1].toInt());
        format.setFontWeight(parts[2].contains(u'b') ? QFont::Bold : QFont::Normal);
        format.setFontUnderline(parts[2].contains(u'u'));
    } else if (!font.isEmpty()) {
        format = previewFontFormat(font.toInt());
    }
    if (color.startsWith(u'#'))
        format.merge(previewColorFormat(QColor::fromString(color).rgb()));
    else if (!color.isEmpty())
        format.merge(previewColorFormat(standardPreviewColors()[color.toUInt()]));
    return format;
}

// Runs of {text, font, colour}, as the operator would have formatted them.
void compose(QTextDocument &document, const QList<QStringList> &runs)
{
    QTextCursor cursor(&document);
    for (const QStringList &run : runs)
        cursor.insertText(run[0], formatOf(run[1], run[2]));
}

} // namespace

class TestTestMessage : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void command_data();
    void command();
    void formattingTarget_data();
    void formattingTarget();
    void replies_data();
    void replies();
    void unsendableCharacterIsNotSent();
    void commandLineBuildsTypedTextAlike_data();
    void commandLineBuildsTypedTextAlike();
};

void TestTestMessage::command_data()
{
    QTest::addColumn<QList<QStringList>>("runs");
    QTest::addColumn<int>("font");
    QTest::addColumn<int>("color");
    QTest::addColumn<QString>("body");

    using Runs = QList<QStringList>;
    const auto run = [](const char *text, const char *font, const char *color) {
        return QStringList { QString::fromUtf8(text), QString::fromLatin1(font),
                             QString::fromLatin1(color) };
    };
    // clang-format off
    QTest::newRow("worked example") << Runs { run("AB ", "6", "#ff0000"), run("CD", "6", "#00ff00") } << 6 << 1 << "AB $CCCD";
    QTest::newRow("empty composer") << Runs() << 0 << 0 << "";
    QTest::newRow("one font and colour: codes into the header") << Runs { run("Hello there", "15", "5") } << 15 << 5 << "Hello there";
    QTest::newRow("Mix H grey reads back as Mix V1") << Runs { run("AB", "0", "11") } << 0 << 9 << "AB";
    QTest::newRow("black first character keeps ColorList") << Runs { run("Hi", "2", "12"), run("!", "2", "1") } << 2 << 0 << "Hi$CB!";
    QTest::newRow("leading space keeps its codes") << Runs { run(" AB", "6", "1") } << 0 << 0 << " $FG$CBAB";
    QTest::newRow("spaces keep the state before them") << Runs { run("A", "5", "1"), run(" ", "10", "2"), run("B", "5", "1") } << 5 << 1 << "A B";
    QTest::newRow("Times New Roman 11, effect only: no code") << Runs { run("A", "5", ""), run("X", "Times New Roman,11,u", ""), run("B", "5", "") } << 5 << 0 << "AX$FFB";
    QTest::newRow("sizes 13 to 15 and other faces: no code") << Runs { run("A", "Arial,14,", ""), run("B", "Courier,10,", ""), run("C", "0", "") } << 0 << 0 << "AB$FAC";
    QTest::newRow("time codes; a placeholder split by a colour stays") << Runs { run("<hh:mm> <mm'dd'yy> <hh:", "0", "0"), run("mm:ss>", "0", "1") } << 0 << 0 << "$T2 $T7 <hh:$CBmm:ss>";
    QTest::newRow("line break in the middle") << Runs { run("A\nB", "0", "0") } << 0 << 0 << "A$LB";
    QTest::newRow("two trailing line breaks keep one") << Runs { run("A\n\n", "0", "0") } << 0 << 0 << "A$L";
    QTest::newRow("Shift+Enter breaks lines too") << Runs { run("A\u2028B\u2028\u2028", "0", "0") } << 0 << 0 << "A$LB$L";
    QTest::newRow("a no-break space is no space: it gets codes") << Runs { run("A", "5", "1"), run("\u00a0", "10", "2"), run("B", "5", "1") } << 5 << 1 << "A$FK$CC\u00a0$FF$CBB";
    QTest::newRow("an unknown colour has no code but is a change") << Runs { run("A", "0", "1"), run("B", "0", "#008080"), run("C", "0", "1") } << 0 << 1 << "AB$CBC";
    QTest::newRow("$, < and > pass unescaped") << Runs { run("<FA$CB> >", "", "") } << 0 << 0 << "<FA$CB> >";
    QTest::newRow("a typed code at the start is read as one") << Runs { run("$CBx", "", "") } << 0 << 1 << "x";
    // clang-format on
}

void TestTestMessage::command()
{
    QFETCH(QList<QStringList>, runs);
    QFETCH(int, font);
    QFETCH(int, color);
    QFETCH(QString, body);
    Opened opened;
    TestMessageEditor &editor = *opened.editor;
    compose(editor.document(), runs);
    const QString expected = QStringLiteral("<id=0 f=%1 s=0 c=%2 a=0 b=0 p=3 sp=2 t=10>%3\r")
                                 .arg(QString::number(font), QString::number(color), body);
    QCOMPARE(editor.buildTestMessage(), expected);
    QCOMPARE(editor.state().test + '\r', expected); // shown without its terminator
}

void TestTestMessage::commandLineBuildsTypedTextAlike_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("row"); // font, colour of the priority
    QTest::addColumn<QString>("tail"); // of the command both build
    // clang-format off
    QTest::newRow("plain text: codes into the header") << "Bay ready <hh:mm>" << QList { 7, 5 } << " c=5 a=0 b=0 p=3 sp=2 t=10>Bay ready $T2\r";
    QTest::newRow("a leading space keeps its codes") << " Hi" << QList { 6, 1 } << " c=1 a=0 b=0 p=3 sp=2 t=10> $FG$CBHi\r";
    QTest::newRow("grey reads back as the first grey") << "AB" << QList { 0, 10 } << " c=9 a=0 b=0 p=3 sp=2 t=10>AB\r";
    QTest::newRow("a font the list cannot hold") << "AB" << QList { 40, 1 } << "<id=0 f=-1 s=0 c=1 a=0 b=0 p=3 sp=2 t=10>AB\r";
    // clang-format on
}

// tavrin-cli send builds the command the window builds for the same text typed into it.
void TestTestMessage::commandLineBuildsTypedTextAlike()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, row);
    Opened opened { Code(row[0]), Code(row[1]) };
    QTextCursor typing = opened.editor->composerCursor();
    typing.insertText(text);
    opened.editor->composerEdited(typing);
    const QString window = opened.editor->buildTestMessage();
    QCOMPARE(typedTestMessageCommand(0, opened.main.state().config.rows[0], text,
                                     tavrin::vocab::testMessageProfile(QString())),
             window);
    QFETCH(QString, tail);
    QVERIFY2(window.endsWith(tail), qPrintable(window));
}

void TestTestMessage::formattingTarget_data()
{
    QTest::addColumn<bool>("selectionOnly");
    QTest::addColumn<QString>("tail"); // the command's colours tell each character's
    QTest::newRow("whole text") << false << " c=2 a=0 b=0 p=3 sp=2 t=10>ABCDE\r";
    QTest::newRow("selection only") << true << " c=2 a=0 b=0 p=3 sp=2 t=10>A$CCBC$CMDE\r";
}

// A colour choice with "BC" of "ABCD" selected, then "E" typed at the end.
void TestTestMessage::formattingTarget()
{
    QFETCH(bool, selectionOnly);
    QFETCH(QString, tail);
    Opened opened;
    TestMessageEditor &editor = *opened.editor;
    if (selectionOnly)
        editor.toggleSelectionOnly();
    QTextCursor typing(&editor.document());
    typing.insertText(QStringLiteral("ABCD"));
    editor.composerEdited(typing);
    QTextCursor selection(&editor.document());
    selection.setPosition(1);
    selection.setPosition(3, QTextCursor::KeepAnchor);
    editor.setComposerCursor(selection);
    editor.listClick(Attribute::Color, 2);

    // The choice leaves the operator's selection as it was.
    QCOMPARE(editor.composerCursor().selectedText(), QStringLiteral("BC"));
    typing.movePosition(QTextCursor::End);
    typing.insertText(QStringLiteral("E"));
    editor.composerEdited(typing);
    QVERIFY2((editor.state().test + '\r').endsWith(tail), qPrintable(editor.state().test));
}

void TestTestMessage::replies_data()
{
    QTest::addColumn<QString>("outstanding"); // the command waiting for an answer
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("ack");
    QTest::addColumn<QList<int>>("codes"); // font, colour, style, alignment, speed, pause
    QTest::addColumn<QString>("stored");

    const QList<int> opening { 0, 0, 0, 0, 2, 3 };
    const QString ok = QStringLiteral("Upload Successfull");
    const QString message = QStringLiteral("<id=0 f=0 s=0 c=0 a=0 b=0 p=3 sp=2 t=10>Hi\r");
    const QString download = QStringLiteral("DOWNLOAD_DEFAULT_MSG\r");
    const QString record = QString::fromLatin1("KR4410:65,66,67,50,50,51,0,0,Hi\xaaThere");
    // clang-format off
    QTest::newRow("done confirms the message, any case") << message << "DONE" << ok << opening << "";
    QTest::newRow("a done that answers nothing claims nothing") << download << "done" << "" << opening << "";
    QTest::newRow("refused: nothing until the send settles") << message << "error" << "" << opening << "";
    QTest::newRow("clock confirmed") << "<Time time=07:05:09 date=2024/03/03-0>SET TIME\r" << "SET TIME OK" << "" << opening << "";
    QTest::newRow("KR4410 record") << download << record << "" << QList { 1, 2, 1, 1, 2, 3 } << "Hi\r\nThere";
    QTest::newRow("a record holding done is the record") << download << "LX200:1,0,2,0,0,0,0,0,Well done" << "" << QList { 1, 2, 0, 0, 0, 0 } << "Well done";
    QTest::newRow("a record that answers nothing changes nothing") << message << record << "" << opening << "";
    // clang-format on
}

void TestTestMessage::replies()
{
    QFETCH(QString, outstanding);
    QFETCH(QString, line);
    Opened opened;
    TestMessageEditor &editor = *opened.editor;
    editor.handleTestReply(SignAnswer::paired(line, outstanding));
    QTEST(editor.state().ack, "ack");
    QList<int> codes;
    for (Attribute a : { Attribute::Font, Attribute::Color, Attribute::Style, Attribute::Alignment,
                         Attribute::Speed, Attribute::Pause })
        codes << editor.state().code(a);
    QTEST(codes, "codes");
    QTEST(editor.state().defaultMessage, "stored");
}

void TestTestMessage::unsendableCharacterIsNotSent()
{
    Opened opened;
    TestMessageEditor &editor = *opened.editor;
    QTextCursor cursor(&editor.document());
    cursor.insertText(QStringLiteral("5 \u20ac"));
    editor.composerEdited(cursor);
    QVERIFY(editor.state().unsendable.contains(QStringLiteral("U+20AC")));
    editor.upload();
    QCOMPARE(editor.state().ack, editor.state().unsendable);
    QCOMPARE(editor.serialLink().portNumber(), 0); // no port was opened
}

QTEST_MAIN(TestTestMessage)
#include "tst_test_message.moc"
