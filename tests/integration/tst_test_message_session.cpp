#include "SessionHelpers.h"
#include "editors/ClockCommand.h"
#include "editors/MessageCodes.h"
#include "ui/LEDTestMessage.h"
#include "ui/TavrinMain.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
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

// "<Time time=HH:MM:SS date=YYYY/MO/DD-W>SET TIME\r" as the moment it names, and its weekday.
std::pair<QDateTime, int> clockOf(const QString &command)
{
    static const QRegularExpression kClock(QStringLiteral(
        "^<Time time=(\\d\\d:\\d\\d:\\d\\d) date=(\\d{4}/\\d\\d/\\d\\d)-([0-6])>SET TIME\\r$"));
    const QRegularExpressionMatch m = kClock.match(command);
    if (!m.hasMatch())
        return {};
    return { QDateTime(QDate::fromString(m.captured(2), QStringLiteral("yyyy/MM/dd")),
                       QTime::fromString(m.captured(1), QStringLiteral("HH:mm:ss"))),
             m.captured(3).toInt() };
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
    QVERIFY(sim.start());
    qputenv("TAVRIN_COM1", sim.devicePath().toLocal8Bit());
    tavrin::ui::TavrinMain mainWindow;
    MainController &main = mainWindow.controller();
    main.searchPortTimer().stop();
    QVERIFY(downloadFromSign(main));

    // Opened from the main window after a download, it shows priority 0's settings.
    const auto factory = tavrin::signsim::SignState::factory(QStringLiteral("KR4410"));
    const auto &row0 = factory.priorities[0];
    const QList<int> factoryRow { row0.attributes.font,
                                  row0.attributes.color,
                                  row0.attributes.style,
                                  row0.attributes.alignment,
                                  row0.attributes.speed,
                                  row0.attributes.pause,
                                  row0.beep };
    QList<int> shownRows;
    QString shownTimeout;
    QTimer::singleShot(0, this, [&] {
        auto *window = qobject_cast<LEDTestMessage *>(QApplication::activeModalWidget());
        shownRows = listRows(*window);
        shownTimeout = window->findChild<QLineEdit *>(QStringLiteral("Timeout"))->text();
        window->findChild<QPushButton *>(QStringLiteral("Exit"))->click();
    });
    mainWindow.findChild<QPushButton *>(QStringLiteral("SendTestMsg"))->click();
    QCOMPARE(shownRows, factoryRow);
    QCOMPARE(shownTimeout, QString::number(row0.timeoutSeconds));

    LEDTestMessage window(main);
    window.show();
    auto &editor = window.editor();
    const auto portClosed = [&] {
        return QTest::qWaitFor([&] { return !editor.comCloseTimer().isActive(); }, 5000)
            && !editor.serialLink().isOpen();
    };
    auto *composer = window.findChild<QTextEdit *>(QStringLiteral("ColorTextBox"));
    auto *test = window.findChild<QLineEdit *>(QStringLiteral("Test"));
    auto *ack = window.findChild<QLabel *>(QStringLiteral("Ack"));

    // Typing runs the composer handler on every keystroke; none is lost, none loops.
    QTest::keyClicks(composer, QStringLiteral("Hi <there>"));
    QCOMPARE(composer->toPlainText(), QStringLiteral("Hi <there>"));
    QVERIFY2(test->text().endsWith(QStringLiteral(">Hi <there>\r")), qPrintable(test->text()));

    // A colour choice formats the whole text and, ticked by default, goes to the main row.
    window.findChild<QListWidget *>(QStringLiteral("ColorList"))->setCurrentRow(2);
    QCOMPARE(main.state().config.rows[0].color, 2);
    QTest::keyClicks(composer, QStringLiteral("!"));
    const auto &a = row0.attributes;
    const QString command = QStringLiteral("<id=0 f=%1 s=%2 c=2 a=%3 b=%4 p=%5 sp=%6 t=%7>")
                                .arg(a.font)
                                .arg(a.style)
                                .arg(a.alignment)
                                .arg(row0.beep)
                                .arg(a.pause)
                                .arg(a.speed)
                                .arg(row0.timeoutSeconds)
        + QStringLiteral("Hi <there>!\r");
    QCOMPARE(test->text(), command);

    window.findChild<QPushButton *>(QStringLiteral("Upload"))->click();
    QVERIFY(portClosed());
    QCOMPARE(sim.receivedCommands().constLast(), command);
    QCOMPARE(ack->text(), QStringLiteral("Upload Successfull"));
    QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("Download"))->text(),
             QStringLiteral("Download from Sign"));

    window.findChild<QPushButton *>(QStringLiteral("Download"))->click();
    QVERIFY(portClosed());
    QCOMPARE(sim.receivedCommands().constLast(), QStringLiteral("DOWNLOAD_DEFAULT_MSG\r"));
    QCOMPARE(window.findChild<QPlainTextEdit *>(QStringLiteral("defaultMessage"))->toPlainText(),
             tavrin::editors::decodeRecordCharacters(factory.defaultMessage.text)
                 .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    const QDateTime before = QDateTime::currentDateTime();
    window.findChild<QPushButton *>(QStringLiteral("SetTime"))->click();
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("SetTime"))->isEnabled());
    QVERIFY(portClosed());
    const auto [clock, weekday] = clockOf(sim.receivedCommands().constLast());
    QVERIFY2(clock.isValid(), qPrintable(sim.receivedCommands().constLast()));
    QVERIFY(clock.secsTo(before) <= 1 && before.secsTo(clock) <= 2);
    QCOMPARE(weekday, clock.date().dayOfWeek() % 7);
}

QTEST_MAIN(TestTestMessageSession)
#include "tst_test_message_session.moc"
