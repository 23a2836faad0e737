#include "storage/ConfigFile.h"
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

constexpr Attribute kFileOrder[]
    = { Attribute::Font,      Attribute::Style, Attribute::Color, Attribute::Speed,
        Attribute::Alignment, Attribute::Pause, Attribute::Beep };

void setRow(MainState &state, int row, const QString &text)
{
    const QStringList fields = text.split(',');
    for (int i = 0; i < 7; ++i)
        state.config.rows[row].code(kFileOrder[i]) = core::Code(fields[i].toInt());
    state.config.rows[row].timeout = fields[7];
}

// The state and record that data/golden.led was written from.
void goldenState(MainState &state, DefaultMessageStore &store)
{
    state.modelLabel = "KR4410";
    state.portIndex = 2;
    const char *rows[] = { "5,2,1,2,0,3,1,30", "24,27,12,4,2,9,2,120", "3,0,1,0,2,0,0,30",
                           "0,0,0,0,0,0,0,0", "-1,-1,-1,-1,-1,-1,-1," };
    for (int row = 0; row < core::kRows; ++row)
        setRow(state, row, rows[row]);
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
        setRow(state, row, "1,1,1,1,1,1,1,10");
    state.config.links.fill({ "111", 1 });
    state.config.userCommand = "user";
    store.SaveDefaultMsg("base", 1, 1, 1, 1, 1, 1);
}

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT

    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QByteArray m_golden;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_golden = readBytes(QFINDTESTDATA("data/golden.led"));
        QVERIFY(m_golden.contains("\r\n") && m_golden.contains('\xAA')
                && m_golden.contains('\x80'));
    }

    void writerMatchesGolden()
    {
        MainState state;
        DefaultMessageStore store;
        goldenState(state, store);
        QVERIFY(storage::saveConfiguration(path("written.led"), state, store));
        QCOMPARE(readBytes(path("written.led")), m_golden);
    }

    void saveThenOpenRestores_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("readBack"); // how the editor receives it: breaks as char 170

        const QString br = QString(QChar(0xAA));
        QTest::newRow("golden: 1252 letters, CR LF, colons and a time field")
            << QString::fromUtf8("Caf\u00e9 \u20ac5\r\nOpen 9:30 <hh:mm:ss>")
            << QString::fromUtf8("Caf\u00e9 \u20ac5") + br + "Open 9:30 <hh:mm:ss>";
        QTest::newRow("lone LF and CR, other keys' text, blanks and commas")
            << QString(" Model:X,\nAutoID:0\rCom:9 ")
            << " Model:X," + br + "AutoID:0" + br + "Com:9 ";
        QTest::newRow("empty message") << QString() << QString();
    }

    void saveThenOpenRestores()
    {
        QFETCH(QString, message);
        QFETCH(QString, readBack);
        MainState saved;
        DefaultMessageStore savedStore;
        goldenState(saved, savedStore);
        saved.modelLabel = "Model:A:B"; // colons and a key's text
        savedStore.DefMsg = message;
        const QString file = path("roundtrip.led");
        QVERIFY(storage::saveConfiguration(file, saved, savedStore));

        MainState state;
        DefaultMessageStore store;
        baseState(state, store);
        const storage::ReadResult result = storage::openConfiguration(file, state, store);
        QVERIFY2(result.ok, qPrintable(result.message()));
        QCOMPARE(store.DefMsg, readBack);
        // Every control and default the file holds, compared as a save shows it.
        QCOMPARE(storage::configurationText(state, store),
                 storage::configurationText(saved, savedStore));
        QCOMPARE(state.config.userCommand, QString("user")); // not in the file
        QCOMPARE(store.configFileName, file);
        QCOMPARE(result.toolTip, store.defaultMsgSummary());
    }

    void readLines_data()
    {
        QTest::addColumn<QString>("content"); // written as Latin-1
        QTest::addColumn<int>("error"); // 0 when the end of the file is reached
        QTest::addColumn<QString>("changed"); // the lines a save gives that differ, ";" between

        QTest::newRow("Pri with seven or nine fields ignored (comma in timeout)")
            << "Pri2:3,0,1,0,2,0,0\r\nPri3:3,0,1,0,2,0,0,30,5" << 0 << "";
        QTest::newRow("Pri fields read by leading number, rounded")
            << "Pri0:2abc,x,1.6,,0,0,0, 5 " << 0 << "Pri0:2,0,2,0,0,0,0, 5 ";
        QTest::newRow("file without Pri3 leaves row 3")
            << "Pri2:3,0,1,0,2,0,0,30\r\nPri4:0,0,0,0,0,0,0,0" << 0
            << "Pri2:3,0,1,0,2,0,0,30;Pri4:0,0,0,0,0,0,0,0";
        QTest::newRow("Pri field beyond its list stops, row unchanged")
            << "AutoID:1\r\nPri0:0,0,0,0,3,0,0,5\r\nModel:M" << 380 << "AutoID:1";
        QTest::newRow("LinkID with three fields cleared")
            << "LinkID3:100,200,2" << 0 << "LinkID3:,-1";
        QTest::newRow("LinkID priority 5 or more, however large, keeps the list")
            << "LinkID3:555,7\r\nLinkID4:556,1e9" << 0 << "LinkID3:555,1;LinkID4:556,1";
        QTest::newRow("LinkID non-numeric priority stops, link unchanged")
            << "LinkID0:555,x\r\nAutoID:1" << 13 << "";
        QTest::newRow("LinkID priority -2 is not in the list") << "LinkID0:5,-2" << 380 << "";
        QTest::newRow("keys case-blind, blanks around keys and numbers")
            << "  com: 3 \r\n\tAUTOID:1" << 0 << "Com:3;AutoID:1";
        QTest::newRow("Com:0 leaves no port selected") << "Com:0" << 0 << "Com:0";
        QTest::newRow("Com:13 stops with earlier lines applied")
            << "Model:NEW\r\nCom:13\r\nAutoID:1" << 380 << "Model:NEW";
        QTest::newRow("non-numeric Com") << "Com:abc" << 13 << "";
        QTest::newRow("Default attributes as 16-bit values, not list positions")
            << "DefaultColor:-1\r\nDefaultStyle:300\r\nDefaultPause:32767" << 0
            << "DefaultColor:-1;DefaultStyle:300;DefaultPause:32767";
        QTest::newRow("Default attribute beyond 16 bits overflows")
            << "DefaultFont:2\r\nDefaultColor:40000" << 6 << "DefaultFont:2";
        QTest::newRow("AutoID 2 is not a check box state") << "AutoID:2" << 380 << "";
        QTest::newRow("key text inside a message or mid-line is no key")
            << "DefaultMsg:Set AutoID:1 and Com:7\r\nxCom:2" << 0
            << "DefaultMsg:Set AutoID:1 and Com:7";
        QTest::newRow("Model sets only the label") << "Model:VX903" << 0 << "Model:VX903";
        QTest::newRow("CR, LF and CR LF all end lines")
            << "Com:2\nAutoID:1\rModel:M\r\nDefaultMsg:z" << 0
            << "Com:2;AutoID:1;Model:M;DefaultMsg:z";
        QTest::newRow("numbered key without its digit is no key")
            << "Pri:1,1,1,1,1,1,1,1\r\nLinkID9:5,1\r\nPri5:0,0,0,0,0,0,0,0" << 0 << "";
    }

    // The state is observed through the writer, which the golden file pins down.
    void readLines()
    {
        QFETCH(QString, content);
        QFETCH(int, error);
        QFETCH(QString, changed);
        MainState state;
        DefaultMessageStore store;
        baseState(state, store);
        QStringList expected = storage::configurationText(state, store).split("\r\n");
        for (const QString &line : changed.split(';', Qt::SkipEmptyParts)) {
            for (QString &old : expected)
                old = old.section(':', 0, 0) == line.section(':', 0, 0) ? line : old;
        }
        const auto result = storage::readConfigBytes(content.toLatin1(), state, store);
        QCOMPARE(result.errorNumber, error);
        QCOMPARE(result.ok, error == 0);
        QCOMPARE(result.toolTip.isEmpty(), error != 0);
        QCOMPARE(storage::configurationText(state, store).split("\r\n"), expected);
        QCOMPARE(state.listCount(Attribute::Style), MainState().listCount(Attribute::Style));
    }

    void errorMessageNamesTheLine()
    {
        MainState state;
        DefaultMessageStore store;
        QCOMPARE(storage::readConfigBytes("Model:A\r\nCom:13\r\n", state, store).message(),
                 "Error 380 opening file.\r\nInvalid property value in line 2, Com: \"13\" is not "
                 "in the list");
    }

    void openErrors_data()
    {
        QTest::addColumn<QString>("name"); // in the temporary folder unless it starts with /
        QTest::addColumn<int>("error");
        QTest::newRow("missing file") << "nothing-here.led" << 53;
        QTest::newRow("a folder") << "folder" << 75;
        QTest::newRow("a device") << "/dev/zero" << 75;
        QTest::newRow("far too large") << "huge.led" << 7;
    }

    void openErrors()
    {
        QFETCH(QString, name);
        QFETCH(int, error);
        QVERIFY(QDir(m_dir.path()).mkpath("folder"));
        QVERIFY(writeBytes(path("huge.led"), QByteArray(2 * 1024 * 1024, 'x')));

        MainState state;
        DefaultMessageStore store;
        baseState(state, store);
        const QString file = name.startsWith('/') ? name : path(name);
        const storage::ReadResult result = storage::openConfiguration(file, state, store);
        QCOMPARE(result.errorNumber, error);
        QVERIFY(result.message().startsWith(QString("Error %1 opening file.\r\n").arg(error)));
        QCOMPARE(state.modelLabel, QString("BASE"));
        QCOMPARE(store.configFileName, file); // set whatever the read gave
    }

    void survivesTruncatedAndRandomFiles()
    {
        const QList<QByteArray> pieces
            = QByteArray("Model:|Com:|Pri0:|Pri4:|LinkID3:|DefaultMsg:|DefaultFont:|AutoID:|,|:|-1|"
                         "0|7|99999|1e400|\r\n|\n|\r|\xAA|\x80| ")
                  .split('|');
        QList<QByteArray> inputs;
        for (qsizetype n = 0; n <= m_golden.size(); ++n)
            inputs << m_golden.left(n);
        QRandomGenerator random(20240611); // fixed: a failure must reproduce
        for (int i = 0; i < 300; ++i) {
            QByteArray bytes;
            for (int p = random.bounded(1, 40); p > 0; --p)
                bytes += random.bounded(3) == 0 ? QByteArray(1, char(random.bounded(256)))
                                                : pieces[random.bounded(int(pieces.size()))];
            inputs << bytes;
        }

        for (const QByteArray &bytes : std::as_const(inputs)) {
            MainState state;
            DefaultMessageStore store;
            baseState(state, store);
            const storage::ReadResult result = storage::readConfigBytes(bytes, state, store);
            QVERIFY2(result.ok || QList<int>({ 6, 13, 380 }).contains(result.errorNumber),
                     bytes.toPercentEncoding());
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

    void saveModes()
    {
        const QString file = path("modes.led");
        QVERIFY(writeBytes(file, QByteArray(500, 'x')));
        QVERIFY(storage::SaveTextToFile(file, QString::fromUtf8("r\u00e9"), true));
        QCOMPARE(readBytes(file), QByteArray("r\xE9\r\n")); // nothing of the longer old file left
        QVERIFY(storage::SaveTextToFile(file, "more", false));
        QCOMPARE(readBytes(file), QByteArray("r\xE9\r\nmore\r\n"));
        QVERIFY(storage::SaveTextToFile(path("fresh.led"), "", false));
        QCOMPARE(readBytes(path("fresh.led")), QByteArray("\r\n"));
    }

    void failedSaveKeepsExistingFile_data()
    {
        QTest::addColumn<QString>("target"); // the path saved to
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<QString>("guarded"); // a file that must come through unchanged
        // Root ignores permissions, so the failures come from the file system's own rules.
        const QString longName = QString(250, 'n') + ".led"; // no room for a temporary name
        QTest::newRow("temporary name too long") << longName << true << longName;
        QTest::newRow("target is a folder") << "dir" << true << "dir/inside.led";
        QTest::newRow("append to a folder") << "dir" << false << "dir/inside.led";
    }

    void failedSaveKeepsExistingFile()
    {
        QFETCH(QString, target);
        QFETCH(bool, overwrite);
        QFETCH(QString, guarded);
        QVERIFY(QDir(m_dir.path()).mkpath("dir"));
        const QByteArray original = "Model:KEEP\r\nCom:1\r\n";
        QVERIFY(writeBytes(path(guarded), original));
        QVERIFY(!storage::SaveTextToFile(path(target), "Model:NEW", overwrite));
        QCOMPARE(readBytes(path(guarded)), original);
        // No temporary file left behind.
        QCOMPARE(QDir(m_dir.path()).entryList({ "*.led.*" }, QDir::Files | QDir::Hidden), {});
    }
};

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_config_file.moc"
