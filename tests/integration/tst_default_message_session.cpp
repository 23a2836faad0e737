#include "DefaultMessageDialog.h"
#include "MainWindow.h"
#include "MessageCodes.h"
#include "SessionHelpers.h"
#include "StoredMessage.h"
#include "WindowHelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>

using tavrin::core::MainController;
using tavrin::editors::DefaultMessageEditor;
using tavrin::ui::DefaultMessageDialog;
using tavrin::vocab::Attribute;

namespace {

const QString kDownload = QStringLiteral("DOWNLOAD_DEFAULT_MSG\r");
const QString kTimeStatus = QStringLiteral("TIME_STATUS\r");

// A simulated sign of the model on COM 1.
bool startSign(SignSimProcess &sim, const QString &model, MainController &main)
{
    if (!sim.startOnPort(1))
        return false;
    tavrin::core::MainState state = main.state(); // as a download from that sign leaves it
    state.modelNumber = model;
    state.modelLabel = model;
    main.setState(state);
    return true;
}

QString factoryText(const QString &model)
{
    return tavrin::protocol::decodeRecordCharacters(
        tavrin::signsim::SignState::factory(model).defaultMessage.text);
}

} // namespace

class TestDefaultMessageSession : public QObject
{
    Q_OBJECT

private slots:
    void init() { isolateSerialPorts(); }
    void windowOpensWithSignMessage_data();
    void windowOpensWithSignMessage();
    void openingDownloadUnconfirmed_data();
    void openingDownloadUnconfirmed();
    void editUploadReopen();
    void timeDisplayOnIdle();
    void fileMessageOpensWithoutTraffic();
    void operatorsHandsKeepTheText_data();
    void operatorsHandsKeepTheText();
};

void TestDefaultMessageSession::windowOpensWithSignMessage_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("fonts");
    QTest::addColumn<int>("formats");
    QTest::addColumn<QList<bool>>("shown"); // InsertTime, TimeFormat, TimeOnIdle
    QTest::newRow("KR4410") << "KR4410" << 25 << 8 << QList { true, true, false };
    QTest::newRow("TM207") << "TM207" << 25 << 8 << QList { false, false, false };
    QTest::newRow("VX903") << "VX903" << 4 << 4 << QList { false, true, true };
    QTest::newRow("other model") << "LX200" << 0 << 8 << QList { true, true, true };
}

void TestDefaultMessageSession::windowOpensWithSignMessage()
{
    QFETCH(QString, model);
    QFETCH(int, fonts);
    SignSimProcess sim({ QStringLiteral("--model"), model });
    MainController main;
    QVERIFY(startSign(sim, model, main));

    DefaultMessageDialog window(main);
    window.show();
    QTRY_COMPARE(child<QTextEdit>(window, "defaultMessage")->toPlainText(),
                 factoryText(model).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QVERIFY(portClosed(window.editor()));
    QCOMPARE(sim.receivedCommands(), QStringList({ kDownload, kTimeStatus }));

    const auto a = tavrin::signsim::SignState::factory(model).defaultMessage.attributes;
    QList<int> rows; // an unknown model's lists stay empty
    for (const char *name :
         { "fontList", "ColorList", "StyleList", "AlignmentList", "SpeedList", "PauseList" })
        rows << child<QListWidget>(window, name)->currentRow();
    const QList<int> codes { a.font, a.color, a.style, a.alignment, a.speed, a.pause };
    QCOMPARE(rows, fonts ? codes : QList<int>(6, -1));
    QCOMPARE(child<QListWidget>(window, "fontList")->count(), fonts);
    QTEST(child<QComboBox>(window, "TimeFormat")->count(), "formats");
    const QList<bool> visible { child<QWidget>(window, "InsertTime")->isVisible(),
                                child<QWidget>(window, "TimeFormat")->isVisible(),
                                child<QWidget>(window, "TimeOnIdle")->isVisible() };
    QTEST(visible, "shown");
    QCOMPARE(child<QLabel>(window, "Ack")->text(),
             QStringLiteral("Data downloaded successfully from LED Sign"));
}

void TestDefaultMessageSession::openingDownloadUnconfirmed_data()
{
    QTest::addColumn<QString>("sign"); // the simulator's option
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("ack");
    const QString silent = QStringLiteral("The sign did not confirm the download");
    QTest::newRow("silent sign") << "--silent"
                                 << "" << silent;
    QTest::newRow("refusing sign") << "--refuse=DOWNLOAD_DEFAULT_MSG"
                                   << ""
                                   << "The sign refused the download";
    QTest::newRow("silent sign, then a message typed") << "--silent"
                                                       << "Typed" << silent;
}

// Nothing claims a download the sign did not confirm, and Exit keeps the main window's message
// unless the operator typed one.
void TestDefaultMessageSession::openingDownloadUnconfirmed()
{
    QFETCH(QString, sign);
    QFETCH(QString, typed);
    SignSimProcess sim({ sign });
    MainController main;
    QVERIFY(startSign(sim, QStringLiteral("KR4410"), main));
    main.defaultMessage().message = storedMessage(QStringLiteral("Kept"), 1, 2, 3, 1, 4, 5);
    const auto kept = main.defaultMessage().message;

    DefaultMessageDialog window(main);
    window.show();
    QVERIFY(portClosed(window.editor()));
    QTEST(child<QLabel>(window, "Ack")->text(), "ack");
    QTest::keyClicks(child<QTextEdit>(window, "defaultMessage"), typed);
    child<QPushButton>(window, "Exit")->click();
    QCOMPARE(main.defaultMessage().configFileName, QString());
    QCOMPARE(main.defaultMessage().message,
             typed.isEmpty() ? kept : storedMessage("<hh:mm:ss>Typed", -1, -1, -1, -1, -1, -1));
}

void TestDefaultMessageSession::editUploadReopen()
{
    const QString model = QStringLiteral("KR4410");
    SignSimProcess sim;
    MainController main;
    QVERIFY(startSign(sim, model, main));
    // Long enough that the record is still coming in when the wait for it ends; its "done" is
    // message text, not an acknowledgement.
    const QString tail = QString(600, QLatin1Char('x'));
    const QString edited = QStringLiteral("Well done\r\nthere <hh:mm:ss A/PM>") + tail;
    {
        DefaultMessageEditor editor(main.defaultMessage(), { model, model, 0 });
        editor.open();
        QVERIFY(portClosed(editor));

        editor.setMessageText(QStringLiteral("Well done\nthere <hh:mm:ss A/PM>") + tail);
        editor.listClick(Attribute::Font, 3);
        editor.upload();
        QCOMPARE(editor.state().uploadCaption, QStringLiteral("Writing..."));
        QVERIFY(portClosed(editor));
        QCOMPARE(sim.receivedCommands().constLast(),
                 QStringLiteral("<DF f=3 c=3 s=0 a=2 sp=2 p=3>Well done$Lthere $T1") + tail
                     + u'\r');
        QCOMPARE(editor.state().ack, QStringLiteral("Default message uploaded successfully"));
        editor.close();
    }
    QCOMPARE(main.defaultMessage().message.text, edited);

    DefaultMessageEditor reopened(main.defaultMessage(), { model, model, 0 });
    reopened.open();
    QVERIFY(portClosed(reopened));
    QCOMPARE(reopened.state().message, edited);
    QCOMPARE(reopened.state().code(Attribute::Font), 3);

    reopened.setSignClock();
    QVERIFY(!reopened.state().setTimeEnabled && portClosed(reopened));
    QVERIFY(sim.receivedCommands().constLast().startsWith(QStringLiteral("<Time time=")));
}

// Against a sign that ends its lines with CR LF: the CR is no part of what it says.
void TestDefaultMessageSession::timeDisplayOnIdle()
{
    const QString model = QStringLiteral("VX903");
    SignSimProcess sim({ QStringLiteral("--model"), model, QStringLiteral("--crlf") });
    MainController main;
    QVERIFY(startSign(sim, model, main));
    DefaultMessageEditor editor(main.defaultMessage(), { model, model, 0 });
    editor.open();
    QVERIFY(portClosed(editor));

    qsizetype sent = sim.receivedCommands().size();
    editor.showTimeOnIdle();
    QCOMPARE(editor.state().ack, DefaultMessageEditor::kRemoveMessageText);
    QVERIFY(portClosed(editor));
    QCOMPARE(editor.state().timeDisplayStatus, QStringLiteral("is ON"));
    QCOMPARE(sim.receivedCommands().mid(sent),
             QStringList({ QStringLiteral("<TIME>IDLE ON"), kDownload, kTimeStatus }));
    QVERIFY(!editor.state().fontListEnabled && !editor.state().styleListEnabled
            && !editor.state().pauseListEnabled);

    // With a message shown, the upload is an empty line, then the time display and RESET.
    editor.listClick(Attribute::Color, 2);
    const QString time = tavrin::protocol::timeDisplayCommand(editor.state().attributes(), 0);
    sent = sim.receivedCommands().size();
    QElapsedTimer elapsed;
    elapsed.start();
    editor.upload();
    QVERIFY(portClosed(editor));
    QCOMPARE_GE(elapsed.elapsed(), 200 + 500 + 550);
    QCOMPARE(sim.receivedCommands().mid(sent),
             QStringList({ QStringLiteral("\r"), time + u'\r', QStringLiteral("RESET\r") }));
    QCOMPARE(editor.state().test, time + QStringLiteral(" , RESET"));
    QCOMPARE(editor.state().ack, DefaultMessageEditor::kRemoveMessageText);
    QTRY_VERIFY_WITH_TIMEOUT(editor.state().ack.isEmpty(), 6000); // 5 s after it was shown

    sent = sim.receivedCommands().size();
    editor.showTimeOnIdle();
    QVERIFY(portClosed(editor));
    QCOMPARE(editor.state().timeDisplayStatus, QStringLiteral("is OFF"));
    QCOMPARE(sim.receivedCommands().value(sent), QStringLiteral("<TIME>IDLE OFF"));
    QVERIFY(editor.state().fontListEnabled && editor.state().pauseListEnabled);
}

void TestDefaultMessageSession::fileMessageOpensWithoutTraffic()
{
    tavrin::ui::MainWindow mainWindow;
    MainController &main = mainWindow.controller();
    main.stopPortSearch();
    tavrin::core::MainState state = main.state();
    state.modelNumber = QStringLiteral("KR4410");
    main.setState(state);
    main.defaultMessage().configFileName = QStringLiteral("/tmp/sign.led");
    main.defaultMessage().message
        = storedMessage(QString::fromLatin1("Hello\xaaWorld"), 1, 2, 3, 2, 1, 0);

    // The window is modal: look at it and close it from inside its own event loop.
    QString shown, ack;
    Qt::Alignment alignment;
    int portNumber = -1;
    QTimer::singleShot(0, this, [&] {
        auto *window = qobject_cast<DefaultMessageDialog *>(QApplication::activeModalWidget());
        auto *message = child<QTextEdit>(*window, "defaultMessage");
        shown = message->toPlainText();
        alignment = message->document()->defaultTextOption().alignment();
        ack = child<QLabel>(*window, "Ack")->text();
        portNumber = window->editor().serialLink().portNumber();
        child<QListWidget>(*window, "PauseList")->setCurrentRow(7);
        child<QPushButton>(*window, "Exit")->click();
    });
    auto *setup = child<QPushButton>(mainWindow, "SetupDefaultMsg");
    setup->click();

    QCOMPARE(shown, QStringLiteral("Hello\nWorld"));
    QCOMPARE(alignment, Qt::AlignHCenter);
    QCOMPARE(ack, QStringLiteral("Getting data from File /tmp/sign.led"));
    QCOMPARE(portNumber, 0); // the port was never opened
    QCOMPARE(main.defaultMessage().configFileName, QStringLiteral("/tmp/sign.led"));
    QCOMPARE(main.defaultMessage().message, storedMessage("Hello\r\nWorld", 1, 2, 3, 2, 1, 7));
    QCOMPARE(setup->toolTip(), main.defaultMessage().message.summary());
}

void TestDefaultMessageSession::operatorsHandsKeepTheText_data()
{
    QTest::addColumn<QString>("model");
    QTest::newRow("known lists") << "KR4410";
    QTest::newRow("unknown lists") << "ZX100";
}

// The window opened on a message from a file: what the program writes into the text is one
// undoable step, wheel turns and Enter choose nothing, and a model whose lists are unknown
// keeps the text editable for the file but uploads nothing.
void TestDefaultMessageSession::operatorsHandsKeepTheText()
{
    QFETCH(QString, model);
    MainController main;
    tavrin::core::MainState state = main.state();
    state.modelNumber = model;
    main.setState(state);
    main.defaultMessage().configFileName = QStringLiteral("/tmp/sign.led");
    main.defaultMessage().message = storedMessage("WELCOME", 1, 2, 3, 2, 1, 0);
    const bool known = model == u"KR4410";
    DefaultMessageDialog window(main);
    window.show();
    auto *message = child<QTextEdit>(window, "defaultMessage");
    auto *timeFormat = child<QComboBox>(window, "TimeFormat");

    QTest::keyClicks(message, QStringLiteral("!"));
    turnWheel(timeFormat);
    for (QListWidget *list : window.findChildren<QListWidget *>())
        turnWheel(list->viewport());
    QTest::keyClick(child<QLineEdit>(window, "Test"), Qt::Key_Return);
    QCOMPARE(message->toPlainText(), QStringLiteral("WELCOME!"));
    QCOMPARE(timeFormat->currentIndex(), 0);

    timeFormat->setFocus();
    QTest::keyClick(timeFormat, Qt::Key_Down);
    QCOMPARE(message->toPlainText(), QStringLiteral("<hh:mm:ss A/PM>"));
    message->undo();
    QCOMPARE(message->toPlainText(), QStringLiteral("WELCOME!"));
    child<QPushButton>(window, "InsertTime")->click();
    QCOMPARE(message->toPlainText(), QStringLiteral("WELCOME!<hh:mm:ss A/PM>"));
    message->undo();
    QCOMPARE(message->toPlainText(), QStringLiteral("WELCOME!"));

    auto *upload = child<QPushButton>(window, "Upload");
    QCOMPARE(upload->isEnabled(), known);
    QCOMPARE(child<QLabel>(window, "Unsendable")->text().contains(u"not known"), !known);
    window.editor().upload();
    QCOMPARE(window.editor().serialLink().portNumber(), known ? 1 : 0); // a port was opened
    QVERIFY(portClosed(window.editor()));
    child<QPushButton>(window, "Exit")->click();
    QCOMPARE(main.defaultMessage().message.text, QStringLiteral("WELCOME!"));
}

QTEST_MAIN(TestDefaultMessageSession)
#include "tst_default_message_session.moc"
