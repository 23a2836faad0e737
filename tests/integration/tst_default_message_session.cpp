#include "SignSimProcess.h"
#include "SignState.h"
#include "core/MainController.h"
#include "editors/MessageCodes.h"
#include "ui/TavrinDefaultMessage.h"
#include "ui/TavrinMain.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>

using tavrin::core::MainController;
using tavrin::editors::DefaultMessageEditor;
using tavrin::editors::MainWindowView;
using tavrin::ui::TavrinDefaultMessage;
using tavrin::ui::TavrinMain;
using tavrin::vocab::Attribute;

namespace {

const QString kDownload = QStringLiteral("DOWNLOAD_DEFAULT_MSG\r");
const QString kTimeStatus = QStringLiteral("TIME_STATUS\r");

// A sign simulator of the model on COM 1.
struct Sign
{
    SignSimProcess sim;
    explicit Sign(const QString &model)
        : sim({ QStringLiteral("--model"), model })
    {
    }
    bool start()
    {
        if (!sim.start())
            return false;
        qputenv("TAVRIN_COM1", sim.devicePath().toLocal8Bit());
        return true;
    }
    // Commands received after the first skip ones.
    QStringList commandsAfter(qsizetype skip) const { return sim.receivedCommands().mid(skip); }
};

bool portClosed(DefaultMessageEditor &editor)
{
    return QTest::qWaitFor([&] { return !editor.comCloseTimer().isActive(); }, 5000)
        && !editor.serialLink().isOpen();
}

// The main window as the editor sees it after a download from a sign of the model.
void setModel(MainController &main, const QString &model)
{
    tavrin::core::MainState state = main.state();
    state.modelNumber = model;
    state.modelLabel = model;
    main.setState(state);
}

QString factoryMessage(const QString &model)
{
    return tavrin::editors::decodeRecordCharacters(
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
    void editUploadReopen();
    void timeDisplayOnIdle();
    void fileMessageOpensWithoutTraffic();
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
    QFETCH(QList<bool>, shown);
    Sign sign(model);
    QVERIFY(sign.start());
    MainController main;
    setModel(main, model);

    TavrinDefaultMessage window(main);
    window.show();
    auto *message = window.findChild<QTextEdit *>(QStringLiteral("defaultMessage"));
    QString expectedText = factoryMessage(model);
    expectedText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QTRY_COMPARE(message->toPlainText(), expectedText);
    QVERIFY(portClosed(window.editor()));
    QCOMPARE(sign.sim.receivedCommands(), QStringList({ kDownload, kTimeStatus }));

    const auto &attributes = tavrin::signsim::SignState::factory(model).defaultMessage.attributes;
    const std::pair<const char *, int> lists[] = {
        { "fontList", attributes.font },   { "ColorList", attributes.color },
        { "StyleList", attributes.style }, { "AlignmentList", attributes.alignment },
        { "SpeedList", attributes.speed }, { "PauseList", attributes.pause },
    };
    for (const auto &[name, code] : lists) {
        auto *list = window.findChild<QListWidget *>(QLatin1String(name));
        QCOMPARE(list->currentRow(), fonts == 0 ? -1 : code);
    }
    QCOMPARE(window.findChild<QListWidget *>(QStringLiteral("fontList"))->count(), fonts);
    auto *timeFormat = window.findChild<QComboBox *>(QStringLiteral("TimeFormat"));
    QTEST(timeFormat->count(), "formats");
    QCOMPARE(timeFormat->currentIndex(), 0);
    const QList<bool> visible {
        window.findChild<QPushButton *>(QStringLiteral("InsertTime"))->isVisible(),
        timeFormat->isVisible(),
        window.findChild<QPushButton *>(QStringLiteral("TimeOnIdle"))->isVisible(),
    };
    QCOMPARE(visible, shown);
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("TimeDisplayStatus"))->text(),
             QStringLiteral("is OFF"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Ack"))->text(),
             QStringLiteral("Data downloaded successfully from LED Sign"));
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("Download"))->isEnabled());
}

void TestDefaultMessageSession::editUploadReopen()
{
    const QString model = QStringLiteral("KR4410");
    Sign sign(model);
    QVERIFY(sign.start());
    MainController main;
    setModel(main, model);
    const MainWindowView view { model, model, 0 };
    const QString edited = QStringLiteral("Hi\r\nthere <hh:mm:ss A/PM>");
    {
        DefaultMessageEditor editor(main.defaultMessage(), view);
        editor.Form_Load();
        QTRY_COMPARE(editor.state().message, factoryMessage(model));
        QVERIFY(portClosed(editor));

        editor.setMessageText(QStringLiteral("Hi\nthere <hh:mm:ss A/PM>"));
        editor.listClick(Attribute::Font, 3);
        const qsizetype sent = sign.sim.receivedCommands().size();
        editor.Upload_Click();
        QCOMPARE(editor.state().uploadCaption, QStringLiteral("Writing..."));
        QTRY_COMPARE(editor.state().ack, QStringLiteral("Default message uploaded successfully"));
        QVERIFY(portClosed(editor));
        QCOMPARE(sign.commandsAfter(sent),
                 QStringList { QStringLiteral("<DF f=3 c=3 s=0 a=2 sp=2 p=3>Hi$Lthere $T1\r") });
        QCOMPARE(editor.state().uploadCaption, QStringLiteral("Upload to Sign"));
        editor.Form_Unload();
    }
    QCOMPARE(main.defaultMessage().DefMsg, edited);
    QCOMPARE(main.defaultMessage().DefFont, 3);

    DefaultMessageEditor reopened(main.defaultMessage(), view);
    reopened.Form_Load();
    QTRY_COMPARE(reopened.state().message, edited);
    QCOMPARE(reopened.state().code(Attribute::Font), 3);
    QVERIFY(portClosed(reopened));

    qsizetype sent = sign.sim.receivedCommands().size();
    reopened.SetTime_Click();
    QVERIFY(!reopened.state().setTimeEnabled);
    QVERIFY(portClosed(reopened));
    QVERIFY(reopened.state().setTimeEnabled);
    QVERIFY(sign.sim.waitForCommands(int(sent) + 1));
    const QString clock = sign.commandsAfter(sent).value(0);
    QVERIFY2(
        QRegularExpression(
            QStringLiteral(R"(^<Time time=\d\d:\d\d:\d\d date=\d{4}/\d\d/\d\d-[0-6]>SET TIME\r$)"))
            .match(clock)
            .hasMatch(),
        qPrintable(clock));

    reopened.setMessageText(QString());
    sent = sign.sim.receivedCommands().size();
    reopened.Upload_Click();
    QVERIFY(portClosed(reopened));
    QCOMPARE(sign.commandsAfter(sent), QStringList { QStringLiteral("<del id=def>\r") });
    QCOMPARE(reopened.state().ack, QStringLiteral("Default message uploaded successfully"));
}

void TestDefaultMessageSession::timeDisplayOnIdle()
{
    const QString model = QStringLiteral("VX903");
    Sign sign(model);
    QVERIFY(sign.start());
    MainController main;
    DefaultMessageEditor editor(main.defaultMessage(), { model, model, 0 });
    editor.Form_Load();
    QVERIFY(portClosed(editor));
    QVERIFY(!editor.state().message.isEmpty());

    QSignalSpy ticks(&editor.comCloseTimer(), &QTimer::timeout);
    qsizetype sent = sign.sim.receivedCommands().size();
    editor.TimeOnIdle_Click();
    QCOMPARE(editor.state().ack, DefaultMessageEditor::kRemoveMessageText);
    QTRY_COMPARE(editor.state().timeDisplayStatus, QStringLiteral("is ON"));
    QVERIFY(portClosed(editor));
    QCOMPARE(ticks.size(), 11); // ten ticks count down, the eleventh closes
    QCOMPARE(sign.commandsAfter(sent),
             QStringList({ QStringLiteral("<TIME>IDLE ON"), kDownload, kTimeStatus }));
    QVERIFY(!editor.state().fontListEnabled);
    QVERIFY(!editor.state().styleListEnabled);
    QVERIFY(!editor.state().pauseListEnabled);

    // With the time on, an upload sends a bare line and the time display's attributes.
    editor.listClick(Attribute::Color, 4);
    editor.RemoveAck_Timer();
    sent = sign.sim.receivedCommands().size();
    editor.Upload_Click();
    QCOMPARE(editor.state().test,
             QStringLiteral("<TIME f=0 c=4 s=0 a=2 sp=2 p=3 fm=0>IDLE ON , RESET"));
    QCOMPARE(editor.state().ack, DefaultMessageEditor::kRemoveMessageText); // from "done"
    QVERIFY(portClosed(editor));
    QCOMPARE(sign.commandsAfter(sent),
             QStringList({ QStringLiteral("\r"),
                           QStringLiteral("<TIME f=0 c=4 s=0 a=2 sp=2 p=3 fm=0>IDLE ON\r"),
                           QStringLiteral("RESET\r") }));

    sent = sign.sim.receivedCommands().size();
    editor.TimeOnIdle_Click();
    QTRY_COMPARE(editor.state().timeDisplayStatus, QStringLiteral("is OFF"));
    QVERIFY(portClosed(editor));
    QCOMPARE(sign.commandsAfter(sent).value(0), QStringLiteral("<TIME>IDLE OFF"));
    QVERIFY(editor.state().fontListEnabled);
    QVERIFY(editor.state().pauseListEnabled);
}

void TestDefaultMessageSession::fileMessageOpensWithoutTraffic()
{
    Sign sign(QStringLiteral("KR4410"));
    QVERIFY(sign.start());
    TavrinMain mainWindow;
    MainController &main = mainWindow.controller();
    main.searchPortTimer().stop();
    setModel(main, QStringLiteral("KR4410"));
    main.defaultMessage().configFileName = QStringLiteral("/tmp/sign.led");
    main.defaultMessage().SaveDefaultMsg(QString::fromLatin1("Hello\xaaWorld"), 1, 2, 3, 2, 1, 0);

    // The window is modal: look at it and close it from inside its own event loop.
    QString shown, ack;
    int alignmentRow = -1;
    Qt::Alignment alignment;
    int portNumber = -1;
    QTimer::singleShot(0, this, [&] {
        auto *window = qobject_cast<TavrinDefaultMessage *>(QApplication::activeModalWidget());
        if (!window)
            return;
        auto *message = window->findChild<QTextEdit *>(QStringLiteral("defaultMessage"));
        shown = message->toPlainText();
        alignment = message->document()->defaultTextOption().alignment();
        ack = window->findChild<QLabel *>(QStringLiteral("Ack"))->text();
        alignmentRow
            = window->findChild<QListWidget *>(QStringLiteral("AlignmentList"))->currentRow();
        portNumber = window->editor().serialLink().portNumber();
        window->findChild<QListWidget *>(QStringLiteral("PauseList"))->setCurrentRow(7);
        window->findChild<QPushButton *>(QStringLiteral("Exit"))->click();
    });
    auto *setup = mainWindow.findChild<QPushButton *>(QStringLiteral("SetupDefaultMsg"));
    setup->click();

    QCOMPARE(shown, QStringLiteral("Hello\nWorld"));
    QCOMPARE(ack, QStringLiteral("Getting data from File /tmp/sign.led"));
    QCOMPARE(alignmentRow, 2);
    QCOMPARE(alignment, Qt::AlignHCenter);
    QCOMPARE(portNumber, 0); // the port was never opened
    QCOMPARE(main.defaultMessage().getDefaultMsg(),
             QStringLiteral("/tmp/sign.led,Hello\r\nWorld,1,2,3,2,1,7"));
    QCOMPARE(setup->toolTip(), main.defaultMessage().defaultMsgSummary());
    QVERIFY(setup->toolTip().endsWith(QStringLiteral(", Pause:7")));
    QVERIFY(sign.sim.receivedCommands().isEmpty());
}

QTEST_MAIN(TestDefaultMessageSession)
#include "tst_default_message_session.moc"
