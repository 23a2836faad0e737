#include "AppTitle.h"
#include "FirmwareTool.h"
#include "LocalHttpServer.h"
#include "MainWindow.h"
#include "ModalWait.h"
#include "SignSimProcess.h"
#include "TestHelpers.h"
#include "UpdateDialog.h"
#include "UpdateSettings.h"
#include "WebVersion.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace tavrin;
using namespace std::chrono_literals;
using Response = LocalHttpServer::Response;
Q_DECLARE_METATYPE(Response)

namespace {

const QString kOffered = QStringLiteral("Tavrin 4.80.zip");
const QByteArray kOfferedPath = "/Downloads/Tavrin%204.80.zip";
const QByteArray kEmptyZip = QByteArray("PK\x05\x06") + QByteArray(18, '\0'); // its end record
constexpr auto kEverything = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;

} // namespace

class TestUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void versionNumbers();
    void pageCheck_data();
    void pageCheck();
    void download_data();
    void download();
    void unsafeFileNameRefused_data();
    void unsafeFileNameRefused();
    void offerWaitsForModalWindows();
    void startupCheck_data();
    void startupCheck();

private:
    QString desktop() const { return m_home->filePath(QStringLiteral("Desktop")); }
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestUpdate::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true); // QSettings stays out of the user's own
    QLocale::setDefault(QLocale(QLocale::German)); // versions keep "." as decimal point
}

void TestUpdate::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_home->path()).mkdir(QStringLiteral("Desktop")));
    qputenv("TAVRIN_DESKTOP", desktop().toLocal8Bit());
    update::setCheckAtStartup(true);
}

void TestUpdate::versionNumbers() // what the page rows below leave out
{
    QCOMPARE(update::parseWebVersion(QStringLiteral("QLN8R5.10.zip")), 5.1);
    QCOMPARE(update::parseWebVersion(QStringLiteral("Tavrin")), 0.0);
    QCOMPARE(update::parseWebVersion(QStringLiteral("tavrin 4.8.1.zip")), 0.0);
    QCOMPARE(update::captionVersion(QStringLiteral("Manager VER 4.72")), 0.0);
}

void TestUpdate::pageCheck_data()
{
    QTest::addColumn<Response>("response");
    QTest::addColumn<QString>("found");
    QTest::addColumn<double>("version");
    const QByteArray huge = "<p>" + QByteArray(3 << 20, 'x') + "</p><p>Tavrin 9.9.zip</p>";

    QTest::newRow("innermost, blanks collapsed, script and style left out")
        << Response { 200,
                      "<table><tr><td>\n  TAVRIN   4.80.zip </td><td>2 MB</td></tr></table>"
                      "<script>f = 'Tavrin 9.9.zip'</script><style>.tavrin{}</style>" }
        << QStringLiteral("TAVRIN 4.80.zip") << 4.8;
    QTest::newRow("digits only") << Response { 200, "<p>tavrin480.zip" }
                                 << QStringLiteral("tavrin480.zip") << 480.0;
    QTest::newRow("same version") << Response { 200, "<p>Tavrin 4.72.zip" }
                                  << QStringLiteral("Tavrin 4.72.zip") << 4.72;
    QTest::newRow("error page") << Response { 404, "<p>Tavrin 9.9.zip" } << QString() << 0.0;
    QTest::newRow("huge page") << Response { 200, huge, false } << QString() << 0.0;
    QTest::newRow("never finishes")
        << Response { 200, "<p>Tavrin 9.9.zip", true, -1, true } << QString() << 0.0;
}

void TestUpdate::pageCheck()
{
    QFETCH(Response, response);
    QFETCH(QString, found);
    QFETCH(double, version);
    LocalHttpServer server;
    server.responses.insert("/Downloads", response);
    update::UpdateCheck check;
    check.setPageTimeout(response.hang ? 300ms : 10s);
    QSignalSpy offered(&check, &update::UpdateCheck::newVersionOffered);
    QSignalSpy finished(&check, &update::UpdateCheck::checkFinished);

    check.startLoading(server.url("/Downloads"));
    check.check(core::kMainCaption);
    QVERIFY(check.isWaiting());
    QVERIFY(finished.wait(15000));
    QCOMPARE(check.webFileName(), found);
    QCOMPARE(check.webVersion(), version);
    QCOMPARE(offered.size(), version > 4.72 ? 1 : 0); // the offer itself: startupCheck
}

void TestUpdate::download_data()
{
    QTest::addColumn<Response>("response");
    QTest::addColumn<QString>("told"); // a pattern of the reason; "" when the file is saved
    QTest::addColumn<bool>("diskFull"); // files may not grow past 4 KiB
    // Qt tells a cut connection from a whole response only at times; the download sees it.
    const QString cut = QStringLiteral("Connection closed|");
    QTest::newRow("complete") << Response {} << QString() << false;
    QTest::newRow("no length announced")
        << Response { .announceLength = false } << QString() << false;
    QTest::newRow("chunked, cut before the last chunk")
        << Response { .announceLength = false, .cutAfter = 8192, .chunked = true }
        << cut + QStringLiteral("the end of the zip archive is missing") << false;
    QTest::newRow("no length, cut off")
        << Response { .announceLength = false, .cutAfter = 5000 }
        << QStringLiteral("the end of the zip archive is missing") << false;
    QTest::newRow("cut off halfway") << Response { .cutAfter = 5000 }
                                     << cut + QStringLiteral("after 5000 of 10022 bytes") << false;
    QTest::newRow("not found") << Response { .status = 404 } << QStringLiteral("answered 404")
                               << false;
    QTest::newRow("endless") << Response { .announceLength = false, .streamBytes = 1 << 14 }
                             << QStringLiteral("larger than") << false;
    QTest::newRow("slow drip past the total time")
        << Response { .announceLength = false, .streamBytes = 1, .streamEvery = 20ms }
        << QStringLiteral("did not finish within") << false;
    QTest::newRow("No during the transfer") << Response { .hang = true } << QString() << false;
    QTest::newRow("disk full") << Response {}
                               << QStringLiteral("zip could not be \\w+: File too large") << true;
}

void TestUpdate::download()
{
    QFETCH(Response, response);
    QFETCH(QString, told);
    QFETCH(bool, diskFull);
    const bool saved = told.isEmpty() && !response.hang;
    // A stand-in archive: 10000 bytes, then an end record whose directory (0x2710) spans them.
    for (int i = 0; i < 10000; ++i)
        response.body.append(char(i * 7919 % 251));
    response.body += kEmptyZip.left(12) + QByteArray("\x10\x27\0\0\0\0\0\0\0\0", 10);
    LocalHttpServer server;
    server.responses.insert(kOfferedPath, response);
    const QString target = QDir(desktop()).filePath(kOffered);
    QVERIFY(writeFileBytes(target, "old"));

    ui::UpdateDialog window({ 4.8, kOffered, server.url("/Downloads") });
    window.transfer().setLimits(
        { .maxBytes = 1 << 18, .transferTimeout = response.streamEvery > 0ms ? 300ms : 10min });
    window.show();
    auto *message = child<QLabel>(window, "NewVersionMsg");
    auto *yes = child<QPushButton>(window, "Download");
    QCOMPARE(
        message->text(),
        QStringLiteral("Version 4.8 is available for Download\r\nClick Yes to Download it now"));
    rlimit unlimited {};
    getrlimit(RLIMIT_FSIZE, &unlimited);
    const auto restoreLimit = qScopeGuard([&] { setrlimit(RLIMIT_FSIZE, &unlimited); });
    if (diskFull) {
        signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
        rlimit full = unlimited;
        full.rlim_cur = 4096;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &full) == 0);
    }
    yes->click();
    QCOMPARE(message->text(), QStringLiteral("Downloading ") + QDir::toNativeSeparators(target));
    QVERIFY(!yes->isEnabled());
    if (response.hang) {
        QTRY_COMPARE(server.requested.size(), 1);
        child<QPushButton>(window, "DontDownload")->click();
        QVERIFY(!window.isVisible());
    } else if (saved) {
        QTRY_VERIFY(child<QPushButton>(window, "ExitDownload")->isVisible());
        QVERIFY(message->text().startsWith(QStringLiteral("Download Complete")));
        QCOMPARE(child<QProgressBar>(window, "PB1")->maximum(), 100);
        QCOMPARE(child<QProgressBar>(window, "PB1")->value(), 100);
        QVERIFY(!yes->isVisible());
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(yes->isEnabled(), 20000);
        QVERIFY2(message->text().contains(QRegularExpression(told)), qPrintable(message->text()));
    }
    QCOMPARE(server.requested, QList<QByteArray> { kOfferedPath });
    QCOMPARE(readFileBytes(target), saved ? response.body : QByteArray("old"));
    QCOMPARE(QDir(desktop()).entryList(kEverything), QStringList { kOffered });
}

void TestUpdate::unsafeFileNameRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("sub folder") << QStringLiteral("x/Tavrin 4.80.zip");
    QTest::newRow("backslash") << QStringLiteral("x\\Tavrin 4.80.zip");
    QTest::newRow("drive") << QStringLiteral("C:Tavrin 4.80.zip");
    QTest::newRow("hidden") << QStringLiteral(".Tavrin 4.80.zip");
    QTest::newRow("control character") << QStringLiteral("Tavrin\n4.80.zip");
    QTest::newRow("line separator") << QStringLiteral("Tavrin\u20284.80.zip");
    QTest::newRow("over the byte limit") << QString(130, u'\u00fc') + QStringLiteral(".zip");
}

void TestUpdate::unsafeFileNameRefused()
{
    QFETCH(QString, name);
    ui::UpdateDialog window({ 4.8, name, QUrl(QStringLiteral("http://127.0.0.1:1/D")) });
    child<QPushButton>(window, "Download")->click();
    QVERIFY(child<QLabel>(window, "NewVersionMsg")
                ->text()
                .startsWith(QStringLiteral("The offered file cannot be saved on the Desktop.")));
    QVERIFY(!child<QPushButton>(window, "Download")->isEnabled());
    QCOMPARE(QDir(m_home->path()).entryList(kEverything),
             QStringList { QStringLiteral("Desktop") });
    QVERIFY(QDir(desktop()).isEmpty(kEverything));
}

void TestUpdate::offerWaitsForModalWindows()
{
    QDialog lower, upper;
    for (QDialog *modal : { &lower, &upper }) {
        modal->setWindowModality(Qt::ApplicationModal);
        modal->show();
    }
    bool offered = false;
    ui::runWhenNoModalWindow(this, [&] { offered = true; });
    upper.hide();
    QCoreApplication::processEvents();
    QVERIFY(!offered);
    lower.hide();
    QTRY_VERIFY(offered);
}

void TestUpdate::startupCheck_data()
{
    QTest::addColumn<bool>("checkOn");
    QTest::addColumn<bool>("pageHangs");
    QTest::newRow("on") << true << false;
    QTest::newRow("off") << false << false;
    QTest::newRow("page still loading when the search ends") << true << true;
}

void TestUpdate::startupCheck()
{
    QFETCH(bool, checkOn);
    QFETCH(bool, pageHangs);
    update::setCheckAtStartup(checkOn);
    isolateSerialPorts();
    SignSimProcess sim;
    QVERIFY(sim.startOnPort(1));
    LocalHttpServer server;
    server.responses.insert(
        "/Downloads",
        { 200, "<a href='Tavrin%204.80.zip'>Tavrin 4.80.zip</a>", true, -1, pageHangs });
    server.responses.insert(kOfferedPath, { 200, kEmptyZip });
    qputenv("TAVRIN_UPDATE_SITE", server.url("/Downloads").toEncoded());

    ui::MainWindow window;
    QSignalSpy searched(&window.controller(), &core::MainController::searchFinished);
    QList<QByteArray> requestedDuringSearch; // the page loads while the ports are probed
    connect(&window.controller(), &core::MainController::searchFinished, this,
            [&] { requestedDuringSearch = server.requested; });
    bool searchWasOver = false;
    QTimer answer; // the offer is modal: it is answered from inside its own event loop
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *offer = qobject_cast<ui::UpdateDialog *>(QApplication::activeModalWidget());
        if (!offer)
            return;
        searchWasOver = searched.size() == 1;
        if (child<QPushButton>(*offer, "ExitDownload")->isVisible())
            child<QPushButton>(*offer, "ExitDownload")->click();
        else if (child<QPushButton>(*offer, "Download")->isEnabled())
            child<QPushButton>(*offer, "Download")->click();
    });
    answer.start(20);
    window.show();
    auto *versionCheck = child<QLabel>(window, "VersionCheckLabel");
    QVERIFY(!versionCheck->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(searched.size(), 1, 20000);
    QCOMPARE(child<QAction>(window, "signCheckAtStartup")->isChecked(), checkOn);
    if (pageHangs) { // "Version Check" says the check waits for the page; nothing is offered
        QCOMPARE(server.requested, QList<QByteArray> { "/Downloads" });
        QVERIFY(versionCheck->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
    } else if (checkOn) {
        QCOMPARE(requestedDuringSearch, QList<QByteArray> { "/Downloads" });
        QTRY_COMPARE(readFileBytes(QDir(desktop()).filePath(kOffered)), kEmptyZip);
        QVERIFY(searchWasOver);
    } else {
        QVERIFY(server.requested.isEmpty());
    }

    // Tools, Upgrade: the tool is not in the test's folder, and the message says where.
    QString told;
    QTimer::singleShot(0, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            told = box->text();
            box->close();
        }
    });
    child<QAction>(window, "signUpgrade")->trigger();
    QVERIFY2(told.contains(QDir::toNativeSeparators(
                 QDir(QCoreApplication::applicationDirPath()).filePath(update::kFirmwareToolName))),
             qPrintable(told));
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
