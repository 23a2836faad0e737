#include "SessionHelpers.h"
#include "editors/ClockCommand.h"
#include "editors/MessageCodes.h"
#include "ui/LEDTestMessage.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>

using tavrin::core::MainController;
using tavrin::ui::LEDTestMessage;

namespace {

QList<int> listRows(QWidget &window)
{
    QList<int> rows;
    for (const char *name : { "fontList", "ColorList", "StyleList", "AlignmentList", "SpeedList",
                              "PauseList", "BeepList" })
        rows << window.findChild<QListWidget *>(QLatin1String(name))->currentRow();
    return rows;
}

} // namespace

class TestTestMessageSession : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void openTypeSendDownloadSetTime();
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
    LEDTestMessage window(main);
    window.show();
    QCOMPARE(listRows(window),
             QList({ a.font, a.color, a.style, a.alignment, a.speed, a.pause, row0.beep }));
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("Timeout"))->text(),
             QString::number(row0.timeoutSeconds));
    auto &editor = window.editor();
    auto *composer = window.findChild<QTextEdit *>(QStringLiteral("ColorTextBox"));
    auto *test = window.findChild<QLineEdit *>(QStringLiteral("Test"));
    auto *ack = window.findChild<QLabel *>(QStringLiteral("Ack"));

    // Typing runs the composer handler on every keystroke; none is lost, none loops.
    QTest::keyClicks(composer, QStringLiteral("Hi <there>"));
    QCOMPARE(composer->toPlainText(), QStringLiteral("Hi <there>"));
    QVERIFY2(test->text().endsWith(QStringLiteral(">Hi <there>\r")), qPrintable(test->text()));

    // Choices format the whole text and, ticked by default, go to the main window's row.
    window.findChild<QListWidget *>(QStringLiteral("ColorList"))->setCurrentRow(2);
    QTest::keyClicks(window.findChild<QLineEdit *>(QStringLiteral("Timeout")), QStringLiteral("5"));
    const QString timeout = QString::number(row0.timeoutSeconds) + u'5';
    QCOMPARE(main.state().config.rows[0].color, 2);
    QCOMPARE(main.state().config.rows[0].timeout, timeout);
    QTest::keyClicks(composer, QStringLiteral("!"));
    const QString command = QStringLiteral("<id=0 f=%1 s=%2 c=2 a=%3 b=%4 p=%5 sp=%6 t=%7>")
                                .arg(a.font)
                                .arg(a.style)
                                .arg(a.alignment)
                                .arg(row0.beep)
                                .arg(a.pause)
                                .arg(a.speed)
                                .arg(timeout)
        + QStringLiteral("Hi <there>!\r");
    QCOMPARE(test->text(), command);

    window.findChild<QPushButton *>(QStringLiteral("Upload"))->click();
    QVERIFY(portClosed(editor));
    QCOMPARE(sim.receivedCommands().constLast(), command);
    QCOMPARE(ack->text(), QStringLiteral("Upload Successfull"));
    QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("Download"))->text(),
             QStringLiteral("Download from Sign"));

    // Unticked, choices stay in this window.
    window.findChild<QCheckBox *>(QStringLiteral("SaveSettings"))->click();
    QCOMPARE(main.defaultMessage().getSaveSettingsTick(), 0);
    window.findChild<QListWidget *>(QStringLiteral("ColorList"))->setCurrentRow(5);
    QCOMPARE(main.state().config.rows[0].color, 2);

    window.findChild<QPushButton *>(QStringLiteral("Download"))->click();
    QVERIFY(portClosed(editor));
    QCOMPARE(sim.receivedCommands().constLast(), QStringLiteral("DOWNLOAD_DEFAULT_MSG\r"));
    QCOMPARE(window.findChild<QPlainTextEdit *>(QStringLiteral("defaultMessage"))->toPlainText(),
             tavrin::editors::decodeRecordCharacters(factory.defaultMessage.text)
                 .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    const QDateTime before = QDateTime::currentDateTime();
    window.findChild<QPushButton *>(QStringLiteral("SetTime"))->click();
    const QDateTime after = QDateTime::currentDateTime();
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("SetTime"))->isEnabled());
    QVERIFY(portClosed(editor));
    const QString clock = sim.receivedCommands().constLast();
    QVERIFY2(clock == tavrin::editors::clockCommand(before)
                 || clock == tavrin::editors::clockCommand(after),
             qPrintable(clock));
}

QTEST_MAIN(TestTestMessageSession)
#include "tst_test_message_session.moc"
