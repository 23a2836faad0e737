#include "ClockCommand.h"
#include "MessageCodes.h"
#include "SessionHelpers.h"
#include "TestMessageDialog.h"
#include "WindowHelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

using tavrin::core::MainController;
using tavrin::editors::TestMessageEditor;
using tavrin::ui::TestMessageDialog;

namespace {

QList<int> listRows(QWidget &window)
{
    QList<int> rows;
    for (const char *name : { "fontList", "ColorList", "StyleList", "AlignmentList", "SpeedList",
                              "PauseList", "BeepList" })
        rows << child<QListWidget>(window, name)->currentRow();
    return rows;
}

} // namespace

class TestTestMessageSession : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void openTypeSendDownloadSetTime();
    void operatorsHandsKeepTheText();
    void sendsTheSignDoesNotConfirm_data();
    void sendsTheSignDoesNotConfirm();
};

void TestTestMessageSession::openTypeSendDownloadSetTime()
{
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(1));
    MainController main;
    QVERIFY(downloadFromSign(main));

    // Opened after a download, the window shows priority 0's settings.
    const auto factory = tavrin::signsim::SignState::factory(QStringLiteral("KR4410"));
    const auto &row0 = factory.priorities[0];
    const auto &a = row0.attributes;
    TestMessageDialog window(main);
    window.show();
    QCOMPARE(listRows(window),
             QList({ a.font, a.color, a.style, a.alignment, a.speed, a.pause, row0.beep }));
    QCOMPARE(child<QLineEdit>(window, "Timeout")->text(), QString::number(row0.timeoutSeconds));
    auto &editor = window.editor();
    auto *composer = child<QTextEdit>(window, "ColorTextBox");
    auto *test = child<QLineEdit>(window, "Test");
    auto *ack = child<QLabel>(window, "Ack");

    // Typing runs the composer handler on every keystroke; none is lost, none loops.
    QTest::keyClicks(composer, QStringLiteral("Hi <there>"));
    QCOMPARE(composer->toPlainText(), QStringLiteral("Hi <there>"));
    QVERIFY2(test->text().endsWith(QStringLiteral(">Hi <there>")), qPrintable(test->text()));

    // Choices format the whole text and, ticked by default, go to the main window's row.
    child<QListWidget>(window, "ColorList")->setCurrentRow(2);
    QTest::keyClicks(child<QLineEdit>(window, "Timeout"), QStringLiteral("5"));
    const QString timeout = QString::number(row0.timeoutSeconds) + u'5';
    QCOMPARE(main.state().config.rows[0].color, 2);
    QCOMPARE(main.state().config.rows[0].timeout, timeout);
    QTest::keyClicks(composer, QStringLiteral("!"));
    const QString command = QString::asprintf("<id=0 f=%d s=%d c=2 a=%d b=%d p=%d sp=%d t=", a.font,
                                              a.style, a.alignment, row0.beep, a.pause, a.speed)
        + timeout + QStringLiteral(">Hi <there>!\r");
    QCOMPARE(test->text() + u'\r', command); // the box shows no terminator

    child<QPushButton>(window, "Upload")->click();
    QVERIFY(portClosed(editor));
    QCOMPARE(sim.receivedCommands().constLast(), command);
    QCOMPARE(ack->text(), QStringLiteral("Upload Successfull"));

    // Enter in a text box presses no button (Insert Time was the first one).
    QTest::keyClick(child<QLineEdit>(window, "Timeout"), Qt::Key_Return);
    QCOMPARE(composer->toPlainText(), QStringLiteral("Hi <there>!"));
    // What is typed at the end of the command box goes out in the same command.
    test->end(false);
    QTest::keyClicks(test, QStringLiteral("Z"));
    QTest::mouseDClick(test, Qt::LeftButton);
    QVERIFY(portClosed(editor));
    QCOMPARE(sim.receivedCommands().constLast(), command.chopped(1) + QStringLiteral("Z\r"));
    QCOMPARE(child<QPushButton>(window, "Download")->text(), QStringLiteral("Download from Sign"));

    // Unticked, choices stay in this window.
    child<QCheckBox>(window, "SaveSettings")->click();
    QCOMPARE(main.defaultMessage().saveSettingsTick, 0);
    child<QListWidget>(window, "ColorList")->setCurrentRow(5);
    QCOMPARE(main.state().config.rows[0].color, 2);

    // Set Time while the download holds the port: the clock goes out after it, read then.
    child<QPushButton>(window, "Download")->click();
    const QDateTime before = QDateTime::currentDateTime();
    child<QPushButton>(window, "SetTime")->click();
    QVERIFY(!child<QPushButton>(window, "SetTime")->isEnabled());
    QVERIFY(portClosed(editor));
    const QDateTime after = QDateTime::currentDateTime();
    QCOMPARE(sim.receivedCommands().at(sim.receivedCommands().size() - 2),
             QStringLiteral("DOWNLOAD_DEFAULT_MSG\r"));
    QCOMPARE(child<QPlainTextEdit>(window, "defaultMessage")->toPlainText(),
             tavrin::protocol::decodeRecordCharacters(factory.defaultMessage.text)
                 .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    const QString clock = sim.receivedCommands().constLast();
    bool read = false; // at some second between the clicks and the close
    for (QDateTime t = before; t <= after.addMSecs(500); t = t.addMSecs(500))
        read = read || clock == tavrin::protocol::clockCommand(std::min(t, after));
    QVERIFY2(read, qPrintable(clock));
}

// The keyboard and mouse paths: nothing the operator did not choose changes the text, the
// caret, the lists or the priority rows.
void TestTestMessageSession::operatorsHandsKeepTheText()
{
    MainController main;
    tavrin::core::MainState state = main.state();
    state.modelNumber = QStringLiteral("KR4410");
    for (auto &row : state.config.rows)
        row = { { 0, 0, 0, 0, 0, 0, 0 }, QStringLiteral("10") };
    state.config.rows[2].font = 1;
    state.config.rows[2].color = 3;
    main.setState(state);
    TestMessageDialog window(main);
    window.show();
    auto *composer = child<QTextEdit>(window, "ColorTextBox");
    auto *test = child<QLineEdit>(window, "Test");
    auto *colors = child<QListWidget>(window, "ColorList");

    // Typing in the middle stays in the middle.
    QTest::keyClicks(composer, QStringLiteral("ABCDEF"));
    QTextCursor caret = composer->textCursor();
    caret.setPosition(3);
    composer->setTextCursor(caret);
    QTest::keyClicks(composer, QStringLiteral("xy"));
    QCOMPARE(composer->toPlainText(), QStringLiteral("ABCxyDEF"));

    // Wheel turns over closed lists and attribute lists, and Enter in each field, change
    // nothing; Insert Time is one step that undo takes back.
    const QString command = test->text();
    const QList<int> rows = listRows(window);
    for (QComboBox *box : window.findChildren<QComboBox *>()) {
        const int index = box->currentIndex();
        turnWheel(box);
        QCOMPARE(box->currentIndex(), index);
    }
    for (QListWidget *list : window.findChildren<QListWidget *>())
        turnWheel(list->viewport());
    for (QLineEdit *field : window.findChildren<QLineEdit *>())
        QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(listRows(window), rows);
    QCOMPARE(test->text(), command);
    child<QPushButton>(window, "InsertTime")->click();
    QVERIFY(composer->toPlainText().endsWith(u'>'));
    composer->undo();
    QCOMPARE(composer->toPlainText(), QStringLiteral("ABCxyDEF"));

    // Selection-only: "C" turns colour 5; with "Cx" selected the list shows 5, and a click
    // on that highlighted entry gives "x" colour 5 too, and keeps the selection.
    window.editor().toggleSelectionOnly();
    const auto select = [&](int from, int to) {
        QTextCursor selection = composer->textCursor();
        selection.setPosition(from);
        selection.setPosition(to, QTextCursor::KeepAnchor);
        composer->setTextCursor(selection);
    };
    select(2, 3);
    colors->setCurrentRow(5);
    select(2, 4);
    QCOMPARE(colors->currentRow(), 5);
    QTest::mouseClick(colors->viewport(), Qt::LeftButton, {},
                      colors->visualItemRect(colors->item(5)).center());
    QCOMPARE(composer->textCursor().selectedText(), QStringLiteral("Cx"));
    QVERIFY2(test->text().endsWith(QStringLiteral("$CFCx$CAyDEF")), qPrintable(test->text()));

    // Loading priority 2 writes back its own values, not the font of the text.
    child<QListWidget>(window, "fontList")->setCurrentRow(7);
    auto *priority = child<QComboBox>(window, "MsgPri");
    priority->setFocus();
    QTest::keyClick(priority, Qt::Key_Down);
    QTest::keyClick(priority, Qt::Key_Down);
    QCOMPARE(priority->currentIndex(), 2);
    QCOMPARE(main.state().config.rows[2].font, 1);
    QCOMPARE(main.state().config.rows[2].color, 3);
}

using Send = void (*)(TestMessageEditor &);

void TestTestMessageSession::sendsTheSignDoesNotConfirm_data()
{
    QTest::addColumn<QString>("sign"); // the simulator's option
    QTest::addColumn<Send>("send");
    QTest::addColumn<QString>("ack");
    const Send upload = [](TestMessageEditor &e) {
        e.upload();
    };
    QTest::newRow("silent sign, message")
        << "--silent" << upload << "The sign did not confirm the message";
    QTest::newRow("refusing sign, message")
        << "--refuse=<id=" << upload << "The sign refused the message";
    QTest::newRow("silent sign, clock")
        << "--silent" << Send([](TestMessageEditor &e) { e.setSignClock(); })
        << "The sign did not confirm the clock";
    QTest::newRow("silent sign, download")
        << "--silent" << Send([](TestMessageEditor &e) { e.download(); })
        << "The sign did not confirm the download";
}

void TestTestMessageSession::sendsTheSignDoesNotConfirm()
{
    QFETCH(QString, sign);
    QFETCH(Send, send);
    SignSimProcess sim({ sign });
    QVERIFY(sim.startOnPort(1));
    MainController main;
    for (int row = 0; row < tavrin::core::kRows; ++row) // timeouts a sign takes
        main.setTimeoutText(row, QStringLiteral("10"));
    TestMessageEditor editor(main);
    editor.open();
    send(editor);
    QVERIFY(portClosed(editor));
    QVERIFY(sim.waitForCommands(1)); // it went out
    QTEST(editor.state().ack, "ack");
    QCOMPARE(editor.state().uploadCaption, QStringLiteral("Send Message to Sign"));
}

QTEST_MAIN(TestTestMessageSession)
#include "tst_test_message_session.moc"
