#include "storage/ConfigFile.h"
#include "storage/ConfigFileReader.h"
#include "storage/ConfigFileWriter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace tavrin;
using core::DefaultMessageStore;
using core::MainState;
using vocab::Attribute;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void setRow(MainState &state, int row, QList<int> codes, const QString &timeout)
{
    // codes in the grid's column order: font, style, colour, speed, alignment, pause, beep
    const Attribute order[]
        = { Attribute::Font,      Attribute::Style, Attribute::Color, Attribute::Speed,
            Attribute::Alignment, Attribute::Pause, Attribute::Beep };
    for (int i = 0; i < 7; ++i)
        state.config.rows[row].code(order[i]) = core::Code(codes[i]);
    state.config.rows[row].timeout = timeout;
}

// The state and record that data/golden.led was written from.
void goldenState(MainState &state, DefaultMessageStore &store)
{
    state.modelLabel = "KR4410";
    state.portIndex = 2;
    setRow(state, 0, { 5, 2, 1, 2, 0, 3, 1 }, "30");
    setRow(state, 1, { 24, 27, 12, 4, 2, 9, 2 }, "120");
    setRow(state, 2, { 3, 0, 1, 0, 2, 0, 0 }, "30");
    setRow(state, 3, { 0, 0, 0, 0, 0, 0, 0 }, "0");
    setRow(state, 4, { -1, -1, -1, -1, -1, -1, -1 }, "");
    state.config.links[0] = { "123456", 2 };
    state.config.links[1] = { "777", 0 };
    state.config.links[4] = { "123456", 4 };
    state.config.links[5] = { "99", -1 };
    state.config.links[7] = { "1234567", 3 };
    state.config.autoID = 1;
    store.SaveDefaultMsg(QString::fromUtf8("Caf\u00e9 \u20ac5\r\nOpen 9:30 <hh:mm:ss>"), 5, 2, 3, 1,
                         4, 9);
}

// A window whose every control differs from the golden one, to prove a read sets them all.
void baseState(MainState &state, DefaultMessageStore &store)
{
    state.modelLabel = "BASE";
    state.portIndex = 4;
    for (int row = 0; row < core::kRows; ++row)
        setRow(state, row, { 1, 1, 1, 1, 1, 1, 1 }, "10");
    for (auto &link : state.config.links)
        link = { "111", 1 };
    state.config.autoID = 0;
    state.config.userCommand = "user";
    store.SaveDefaultMsg("base", 1, 1, 1, 1, 1, 1);
}

QString rowText(const core::PriorityRow &r)
{
    return QString("font=%1 style=%2 color=%3 speed=%4 align=%5 pause=%6 beep=%7 timeout=%8")
        .arg(r.font)
        .arg(r.style)
        .arg(r.color)
        .arg(r.speed)
        .arg(r.alignment)
        .arg(r.pause)
        .arg(r.beep)
        .arg(r.timeout);
}

QString fieldText(const MainState &state, const DefaultMessageStore &store, const QString &field)
{
    if (field == "model")
        return state.modelLabel;
    if (field == "port")
        return QString::number(state.portIndex);
    if (field == "autoID")
        return QString::number(state.config.autoID);
    if (field == "defMsg")
        return store.DefMsg;
    if (field == "defaults")
        return store.getDefaultMsg();
    if (field == "styleCount")
        return QString::number(state.listCount(Attribute::Style));
    if (field.startsWith("row"))
        return rowText(state.config.rows[field.mid(3).toInt()]);
    if (field.startsWith("link")) {
        const auto &link = state.config.links[field.mid(4).toInt()];
        return link.capcode + "|" + QString::number(link.priority);
    }
    return "unknown field " + field;
}

const QString kBaseRow = "font=1 style=1 color=1 speed=1 align=1 pause=1 beep=1 timeout=10";

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void writerMatchesGolden();
    void goldenReadsBackIntoEveryControl();
    void saveThenOpenRestores_data();
    void saveThenOpenRestores();
    void readLines_data();
    void readLines();
    void errorMessage();
    void openErrors_data();
    void openErrors();
    void openSetsFileNameWhateverHappened();
    void survivesTruncatedAndRandomFiles();
    void saveModes();
    void failedSaveKeepsExistingFile_data();
    void failedSaveKeepsExistingFile();

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QByteArray m_golden;
};

void TestConfigFile::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QString golden = QFINDTESTDATA("data/golden.led");
    QVERIFY(!golden.isEmpty());
    m_golden = readBytes(golden);
    QVERIFY(m_golden.contains("\r\n") && m_golden.contains('\xAA') && m_golden.contains('\x80'));
}

void TestConfigFile::writerMatchesGolden()
{
    MainState state;
    DefaultMessageStore store;
    goldenState(state, store);
    const QString file = path("written.led");
    QVERIFY(storage::saveConfiguration(file, state, store));
    QCOMPARE(readBytes(file), m_golden);
}

void TestConfigFile::goldenReadsBackIntoEveryControl()
{
    MainState expected;
    DefaultMessageStore expectedStore;
    goldenState(expected, expectedStore);
    expectedStore.DefMsg.replace("\r\n", QString(QChar(0xAA))); // the file's line break stays

    MainState state;
    DefaultMessageStore store;
    baseState(state, store);
    const QString file = path("golden.led");
    QVERIFY(writeBytes(file, m_golden));
    const storage::ReadResult result = storage::readConfigFile(file, state, store);
    QVERIFY2(result.ok, qPrintable(result.message()));

    QCOMPARE(state.modelLabel, expected.modelLabel);
    QCOMPARE(state.portIndex, expected.portIndex);
    for (int row = 0; row < core::kRows; ++row)
        QCOMPARE(rowText(state.config.rows[row]), rowText(expected.config.rows[row]));
    for (int i = 0; i < core::kLinks; ++i)
        QCOMPARE(state.config.links[i], expected.config.links[i]);
    QCOMPARE(state.config.autoID, 1);
    QCOMPARE(state.config.userCommand, QString("user")); // not in the file
    QCOMPARE(store.getDefaultMsg(), expectedStore.getDefaultMsg());
    QCOMPARE(result.toolTip, expectedStore.defaultMsgSummary());
}

void TestConfigFile::saveThenOpenRestores_data()
{
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("readBack"); // how the editor receives it: breaks as char 170

    const QString br = QString(QChar(0xAA));
    QTest::newRow("time field with colons") << "TM207"
                                            << "Now <hh:mm:ss> ok"
                                            << "Now <hh:mm:ss> ok";
    QTest::newRow("typed colon") << "KR4410"
                                 << "Call 12:30"
                                 << "Call 12:30";
    QTest::newRow("CR LF line break") << "VX903"
                                      << "One\r\nTwo"
                                      << "One" + br + "Two";
    QTest::newRow("lone LF and CR break too") << "X"
                                              << "a\nb\rc"
                                              << "a" + br + "b" + br + "c";
    QTest::newRow("another key's text") << "KR4410"
                                        << "AutoID:0 Com:9 Pri0:1"
                                        << "AutoID:0 Com:9 Pri0:1";
    QTest::newRow("message that is a key line") << "KR4410"
                                                << "Model:Fake"
                                                << "Model:Fake";
    QTest::newRow("blanks and commas kept") << "KR4410"
                                            << "  a, b  "
                                            << "  a, b  ";
    QTest::newRow("Windows-1252 letters") << "KR4410" << QString::fromUtf8("\u20ac \u00e9\u00df")
                                          << QString::fromUtf8("\u20ac \u00e9\u00df");
    QTest::newRow("empty message, model with colon") << "A:B"
                                                     << ""
                                                     << "";
}

void TestConfigFile::saveThenOpenRestores()
{
    QFETCH(QString, model);
    QFETCH(QString, message);
    QFETCH(QString, readBack);

    MainState saved;
    DefaultMessageStore savedStore;
    goldenState(saved, savedStore);
    saved.modelLabel = model;
    saved.portIndex = 11;
    savedStore.SaveDefaultMsg(message, 24, 12, 27, 2, 4, 9);
    const QString file = path("roundtrip.led");
    QVERIFY(storage::saveConfiguration(file, saved, savedStore));

    MainState state;
    DefaultMessageStore store;
    baseState(state, store);
    const storage::ReadResult result = storage::openConfiguration(file, state, store);
    QVERIFY2(result.ok, qPrintable(result.message()));
    QCOMPARE(state.modelLabel, model);
    QCOMPARE(state.portIndex, 11);
    for (int row = 0; row < core::kRows; ++row)
        QCOMPARE(rowText(state.config.rows[row]), rowText(saved.config.rows[row]));
    for (int i = 0; i < core::kLinks; ++i)
        QCOMPARE(state.config.links[i], saved.config.links[i]);
    QCOMPARE(state.config.autoID, saved.config.autoID);
    QCOMPARE(store.DefMsg, readBack);
    QCOMPARE(store.getDefaultMsg(), file + "," + readBack + ",24,12,27,2,4,9");
}

void TestConfigFile::readLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("error"); // 0 when the end of the file is reached
    QTest::addColumn<QStringList>("expected"); // field=value after the read

    QByteArray noPri3 = m_golden;
    noPri3.remove(noPri3.indexOf("Pri3:"), noPri3.indexOf("Pri4:") - noPri3.indexOf("Pri3:"));

    QTest::newRow("Pri with eight fields, file order")
        << QByteArray("Pri2:3,0,1,0,2,0,0,30\r\n") << 0
        << QStringList { "row2=font=3 style=0 color=1 speed=0 align=2 pause=0 beep=0 timeout=30" };
    QTest::newRow("Pri with seven fields ignored")
        << QByteArray("Pri2:3,0,1,0,2,0,0\r\n") << 0 << QStringList { "row2=" + kBaseRow };
    QTest::newRow("Pri with nine fields ignored (comma in timeout)")
        << QByteArray("Pri2:3,0,1,0,2,0,0,30,5\r\n") << 0 << QStringList { "row2=" + kBaseRow };
    QTest::newRow("Pri fields read by leading number, rounded")
        << QByteArray("Pri0:2abc,x,1.6,,0,0,0, 5 \r\n") << 0
        << QStringList { "row0=font=2 style=0 color=2 speed=0 align=0 pause=0 beep=0 timeout= 5 " };
    QTest::newRow("file without Pri3 leaves row 3")
        << noPri3 << 0
        << QStringList { "row3=" + kBaseRow,
                         "row2=font=3 style=0 color=1 speed=0 align=2 pause=0 beep=0 timeout=30" };
    QTest::newRow("Pri field beyond its list stops, row unchanged")
        << QByteArray("AutoID:1\r\nPri0:0,0,0,0,3,0,0,5\r\nModel:M\r\n") << 380
        << QStringList { "autoID=1", "row0=" + kBaseRow, "model=BASE" };
    QTest::newRow("Pri field beyond 16 bits overflows")
        << QByteArray("Pri0:99999,0,0,0,0,0,0,5\r\n") << 6 << QStringList { "row0=" + kBaseRow };
    QTest::newRow("LinkID with three fields cleared")
        << QByteArray("LinkID3:100,200,2\r\n") << 0 << QStringList { "link3=|-1", "link2=111|1" };
    QTest::newRow("LinkID priority -1 read back as none")
        << QByteArray("LinkID3:555,-1\r\n") << 0 << QStringList { "link3=555|-1" };
    QTest::newRow("LinkID priority 5 or more keeps the list")
        << QByteArray("LinkID3:555,7\r\n") << 0 << QStringList { "link3=555|1" };
    QTest::newRow("LinkID huge priority keeps the list")
        << QByteArray("LinkID3:555,1e9\r\n") << 0 << QStringList { "link3=555|1" };
    QTest::newRow("LinkID non-numeric priority stops, link unchanged")
        << QByteArray("LinkID0:555,x\r\nAutoID:1\r\n") << 13
        << QStringList { "link0=111|1", "autoID=0" };
    QTest::newRow("LinkID priority -2 is not in the list")
        << QByteArray("LinkID0:555,-2\r\n") << 380 << QStringList { "link0=111|1" };
    QTest::newRow("lower-case com:3 selects the third port")
        << QByteArray("com:3\r\n") << 0 << QStringList { "port=2" };
    QTest::newRow("blanks around keys and numbers") << QByteArray("  AUTOID: 1 \r\n\tCom: 12\r\n")
                                                    << 0 << QStringList { "autoID=1", "port=11" };
    QTest::newRow("Com:0 leaves no port selected")
        << QByteArray("Com:0\r\n") << 0 << QStringList { "port=-1" };
    QTest::newRow("Com:13 stops with earlier lines applied")
        << QByteArray("Model:NEW\r\nCom:13\r\nAutoID:1\r\n") << 380
        << QStringList { "model=NEW", "port=4", "autoID=0" };
    QTest::newRow("non-numeric Com stops with earlier lines applied")
        << QByteArray("Pri0:0,0,0,0,0,0,0,0\r\nCom:abc\r\nCom:2\r\n") << 13
        << QStringList { "row0=font=0 style=0 color=0 speed=0 align=0 pause=0 beep=0 timeout=0",
                         "port=4" };
    QTest::newRow("Default attributes as 16-bit values")
        << QByteArray("DefaultFont:2\r\nDefaultColor:-1\r\nDefaultStyle:300\r\n"
                      "DefaultAlignment:2\r\nDefaultSpeed:3\r\nDefaultPause:32767\r\n")
        << 0 << QStringList { "defaults=,base,2,-1,300,2,3,32767" };
    QTest::newRow("Default attribute beyond 16 bits overflows")
        << QByteArray("DefaultFont:2\r\nDefaultColor:40000\r\n") << 6
        << QStringList { "defaults=,base,2,1,1,1,1,1" };
    QTest::newRow("Default attribute not a number") << QByteArray("DefaultSpeed:fast\r\n") << 13
                                                    << QStringList { "defaults=,base,1,1,1,1,1,1" };
    QTest::newRow("AutoID 2 is not a check box state")
        << QByteArray("AutoID:2\r\n") << 380 << QStringList { "autoID=0" };
    QTest::newRow("key text inside a message is no key")
        << QByteArray("DefaultMsg:Set AutoID:1 and Com:7\r\n") << 0
        << QStringList { "defMsg=Set AutoID:1 and Com:7", "autoID=0", "port=4" };
    QTest::newRow("key in mid-line is no key")
        << QByteArray("xCom:2\r\nnote AutoID:1\r\n") << 0 << QStringList { "port=4", "autoID=0" };
    QTest::newRow("message keeps character 170 and its colons")
        << QByteArray("DefaultMsg:a\xAA"
                      "b:c:d\r\n")
        << 0 << QStringList { "defMsg=a" + QString(QChar(0xAA)) + "b:c:d" };
    QTest::newRow("Model sets only the label")
        << QByteArray("Model:VX903\r\n") << 0 << QStringList { "model=VX903", "styleCount=28" };
    QTest::newRow("CR, LF and CR LF all end lines")
        << QByteArray("Com:2\nAutoID:1\rModel:M\r\nDefaultMsg:z") << 0
        << QStringList { "port=1", "autoID=1", "model=M", "defMsg=z" };
    QTest::newRow("numbered key without its digit is no key")
        << QByteArray("Pri:1,1,1,1,1,1,1,1\r\nLinkID9:5,1\r\nPri5:0,0,0,0,0,0,0,0\r\n") << 0
        << QStringList { "row0=" + kBaseRow, "link0=111|1" };
}

void TestConfigFile::readLines()
{
    QFETCH(QByteArray, content);
    QFETCH(int, error);
    QFETCH(QStringList, expected);

    MainState state;
    DefaultMessageStore store;
    baseState(state, store);
    const QString file = path("lines.led");
    QVERIFY(writeBytes(file, content));
    const storage::ReadResult result = storage::readConfigFile(file, state, store);
    QCOMPARE(result.errorNumber, error);
    QCOMPARE(result.ok, error == 0);
    QCOMPARE(result.toolTip.isEmpty(), error != 0);
    for (const QString &check : expected) {
        const qsizetype eq = check.indexOf('=');
        QCOMPARE(fieldText(state, store, check.left(eq)), check.mid(eq + 1));
    }
}

void TestConfigFile::errorMessage()
{
    MainState state;
    DefaultMessageStore store;
    const QString file = path("message.led");
    QVERIFY(writeBytes(file, "Model:A\r\nCom:13\r\n"));
    const storage::ReadResult result = storage::readConfigFile(file, state, store);
    QVERIFY(result.message().startsWith("Error 380 opening file.\r\n"));
    QVERIFY2(result.description.contains("line 2") && result.description.contains("13"),
             qPrintable(result.description));
    QCOMPARE(storage::ReadResult {}.message(), QString());
}

void TestConfigFile::openErrors_data()
{
    QTest::addColumn<QString>(
        "name"); // inside the temporary folder; absolute when it starts with /
    QTest::addColumn<int>("error");

    QTest::newRow("missing file") << "nothing-here.led" << 53;
    QTest::newRow("empty path") << "" << 53;
    QTest::newRow("a folder") << "folder" << 75;
    QTest::newRow("a device") << "/dev/zero" << 75;
    QTest::newRow("far too large") << "huge.led" << 7;
}

void TestConfigFile::openErrors()
{
    QFETCH(QString, name);
    QFETCH(int, error);

    QVERIFY(QDir(m_dir.path()).mkpath("folder"));
    QFile huge(path("huge.led"));
    QVERIFY(huge.open(QIODevice::WriteOnly));
    QVERIFY(huge.resize(2 * 1024 * 1024));
    huge.close();

    const QString file = name.isEmpty() || name.startsWith('/') ? name : path(name);
    MainState state;
    DefaultMessageStore store;
    baseState(state, store);
    const storage::ReadResult result = storage::readConfigFile(file, state, store);
    QVERIFY(!result.ok);
    QCOMPARE(result.errorNumber, error);
    QVERIFY(result.message().startsWith(QString("Error %1 opening file.\r\n").arg(error)));
    QCOMPARE(state.modelLabel, QString("BASE"));
}

void TestConfigFile::openSetsFileNameWhateverHappened()
{
    MainState state;
    DefaultMessageStore store;
    const QString missing = path("missing.led");
    QVERIFY(!storage::openConfiguration(missing, state, store).ok);
    QCOMPARE(store.configFileName, missing);
    QVERIFY(!store.IsDefMsgEmpty());

    const QString bad = path("bad.led");
    QVERIFY(writeBytes(bad, "Com:x\r\n"));
    QVERIFY(!storage::openConfiguration(bad, state, store).ok);
    QCOMPARE(store.configFileName, bad);

    // Saving leaves the name alone.
    QVERIFY(storage::saveConfiguration(path("other.led"), state, store));
    QCOMPARE(store.configFileName, bad);
}

void TestConfigFile::survivesTruncatedAndRandomFiles()
{
    static const QByteArray pieces[]
        = { "Model:",  "Com:", "Pri0:", "Pri4:", "LinkID3:", "DefaultMsg:", "DefaultFont:",
            "AutoID:", ",",    ":",     "-1",    "0",        "7",           "99999",
            "1e400",   "\r\n", "\n",    "\r",    "\xAA",     "\x80",        " " };
    QList<QByteArray> inputs;
    for (qsizetype n = 0; n <= m_golden.size(); ++n)
        inputs << m_golden.left(n);
    QRandomGenerator random(20240611); // fixed: a failure must reproduce
    for (int i = 0; i < 300; ++i) {
        QByteArray bytes;
        const int parts = random.bounded(1, 40);
        for (int p = 0; p < parts; ++p) {
            if (random.bounded(3) == 0)
                bytes += char(random.bounded(256));
            else
                bytes += pieces[random.bounded(int(std::size(pieces)))];
        }
        inputs << bytes;
    }

    const QList<int> knownErrors { 6, 13, 380 };
    for (const QByteArray &bytes : std::as_const(inputs)) {
        MainState state;
        DefaultMessageStore store;
        baseState(state, store);
        const storage::ReadResult result = storage::readConfigBytes(bytes, state, store);
        QVERIFY2(result.ok || knownErrors.contains(result.errorNumber), bytes.toPercentEncoding());
        QVERIFY(state.portIndex >= -1 && state.portIndex < vocab::kPortCount);
        QVERIFY(state.config.autoID == 0 || state.config.autoID == 1);
        for (const auto &row : state.config.rows) {
            for (const Attribute a : vocab::kAttributes)
                QVERIFY(row.code(a) >= -1 && row.code(a) < state.listCount(a));
        }
        for (const auto &link : state.config.links)
            QVERIFY(link.priority >= -1 && link.priority < vocab::kPriorityCount);
    }
}

void TestConfigFile::saveModes()
{
    const QString file = path("modes.led");
    QVERIFY(writeBytes(file, QByteArray(500, 'x')));
    QVERIFY(storage::SaveTextToFile(file, QString::fromUtf8("r\u00e9"), true));
    QCOMPARE(readBytes(file), QByteArray("r\xE9\r\n")); // nothing of the longer old file left

    QVERIFY(storage::SaveTextToFile(file, "more", false));
    QCOMPARE(readBytes(file), QByteArray("r\xE9\r\nmore\r\n"));

    const QString fresh = path("fresh.led");
    QVERIFY(storage::SaveTextToFile(fresh, "", false));
    QCOMPARE(readBytes(fresh), QByteArray("\r\n"));
}

void TestConfigFile::failedSaveKeepsExistingFile_data()
{
    QTest::addColumn<QString>("target"); // the path saved to
    QTest::addColumn<QString>("guarded"); // a file that must come through unchanged
    QTest::addColumn<bool>("overwrite");

    // Root ignores permissions, so the failures come from the file system's own rules.
    const QString longName = QString(250, 'n') + ".led"; // no room for a temporary name beside it
    QTest::newRow("temporary name too long") << longName << longName << true;
    QTest::newRow("target is a folder") << "dir"
                                        << "dir/inside.led" << true;
    QTest::newRow("parent is a file") << "plain.led/x.led"
                                      << "plain.led" << true;
    QTest::newRow("append to a folder") << "dir"
                                        << "dir/inside.led" << false;
}

void TestConfigFile::failedSaveKeepsExistingFile()
{
    QFETCH(QString, target);
    QFETCH(QString, guarded);
    QFETCH(bool, overwrite);

    QVERIFY(QDir(m_dir.path()).mkpath("dir"));
    const QByteArray original = "Model:KEEP\r\nCom:1\r\n";
    QVERIFY(writeBytes(path(guarded), original));

    QVERIFY(!storage::SaveTextToFile(path(target), "Model:NEW", overwrite));
    QCOMPARE(readBytes(path(guarded)), original);
    const QStringList left = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
    for (const QString &name : left)
        QVERIFY2(!name.contains(".led."), qPrintable(name)); // no temporary file left behind
}

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_config_file.moc"
