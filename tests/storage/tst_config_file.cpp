#include "ConfigFileWriter.h"
#include "MainFile.h"
#include "StoredMessage.h"
#include "TestHelpers.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace tavrin;
using core::DefaultMessageStore;
using core::MainState;
using vocab::Attribute;

namespace {

QString configurationText(const MainState &state, const DefaultMessageStore &store)
{
    return storage::configurationText(core::savedSettings(state, store));
}

void setRow(MainState &state, int row, const QString &text)
{
    constexpr Attribute kFileOrder[]
        = { Attribute::Font,      Attribute::Style, Attribute::Color, Attribute::Speed,
            Attribute::Alignment, Attribute::Pause, Attribute::Beep };
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
    state.config.links[1] = { "234567,234568", 0 }; // as a download of two entries gives it
    state.config.links[4] = { "123456", 4 };
    state.config.links[5] = { "99", -1 };
    state.config.links[7] = { "1234567", 3 };
    state.config.autoID = 1;
    store.message = storedMessage(QString::fromUtf8("Caf\u00e9 \u20ac5\r\nOpen 9:30 <hh:mm:ss>"), 5,
                                  2, 3, 1, 4, 9);
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
    store.message = storedMessage("base", 1, 1, 1, 1, 1, 1);
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
        m_golden = readFileBytes(QFINDTESTDATA("data/golden.led"));
        QVERIFY(m_golden.contains("\r\n") && m_golden.contains('\xAA')
                && m_golden.contains('\x80'));
    }

    void writerMatchesGolden()
    {
        MainState state;
        DefaultMessageStore store;
        goldenState(state, store);
        QVERIFY(core::saveConfiguration(path("written.led"), state, store));
        QCOMPARE(readFileBytes(path("written.led")), m_golden);
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
        QTest::newRow("no 1252 byte: one ? per character; undefined byte 0x81 kept")
            << QString::fromUtf8("\u03b1\U0001F600\u0081") << QString::fromUtf8("??\u0081");
    }

    void saveThenOpenRestores()
    {
        QFETCH(QString, message);
        QFETCH(QString, readBack);
        MainState saved;
        DefaultMessageStore savedStore;
        goldenState(saved, savedStore);
        saved.modelLabel = "Model:A:B"; // colons and a key's text
        savedStore.message.text = message;
        const QString file = path("roundtrip.led");
        QVERIFY(core::saveConfiguration(file, saved, savedStore));

        MainState state;
        DefaultMessageStore store;
        baseState(state, store);
        const storage::ReadResult result = core::openConfiguration(file, state, store);
        QCOMPARE(result.message(), QString());
        QCOMPARE(store.message.text, readBack);
        savedStore.message.text = readBack;
        // Every control and default the file holds, compared as a save shows it.
        QCOMPARE(configurationText(state, store), configurationText(saved, savedStore));
        QCOMPARE(state.config.userCommand, QString("user")); // not in the file
        QCOMPARE(store.configFileName, file);
        QCOMPARE(store.message, storedMessage(readBack, 5, 2, 3, 1, 4, 9));
        QCOMPARE(result.toolTip,
                 "Message:" + readBack + ", Font:5, Color:2, Style:3, Align:1, Speed:4, Pause:9");
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
        QTest::newRow("Pri field beyond its list stops, row unchanged")
            << "AutoID:1\r\nPri0:0,0,0,0,3,0,0,5\r\nModel:M" << 380 << "AutoID:1";
        QTest::newRow("LinkID with several capcodes: the last field is the priority")
            << "LinkID3:100,200,2\r\nLinkID4:7,,8,-1" << 0 << "LinkID3:100,200,2;LinkID4:7,,8,-1";
        QTest::newRow("LinkID with one field cleared") << "LinkID3:100" << 0 << "LinkID3:,-1";
        QTest::newRow("LinkID priority 5 or more, however large, keeps the list")
            << "LinkID3:555,7\r\nLinkID4:556,1e9" << 0 << "LinkID3:555,1;LinkID4:556,1";
        QTest::newRow("LinkID non-numeric priority stops, link unchanged")
            << "LinkID0:555,x\r\nAutoID:1" << 13 << "";
        QTest::newRow("keys case-blind, blanks around; CR, LF and CR LF end lines")
            << "  com: 3 \n\tAUTOID:1\rModel:M\r\nDefaultMsg:z" << 0
            << "Com:3;AutoID:1;Model:M;DefaultMsg:z";
        QTest::newRow("Com:0 leaves no port selected") << "Com:0" << 0 << "Com:0";
        QTest::newRow("Default attributes: 16-bit values, not list positions")
            << "DefaultColor:-1\r\nDefaultStyle:300\r\nDefaultFont:40000" << 6
            << "DefaultColor:-1;DefaultStyle:300";
        QTest::newRow("key text inside a message or mid-line is no key")
            << "DefaultMsg:Set AutoID:1 and Com:7\r\nxCom:2" << 0
            << "DefaultMsg:Set AutoID:1 and Com:7";
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
        QStringList expected = configurationText(state, store).split("\r\n");
        for (const QString &line : changed.split(';', Qt::SkipEmptyParts)) {
            for (QString &old : expected)
                old = old.section(':', 0, 0) == line.section(':', 0, 0) ? line : old;
        }
        const auto result = core::readConfigBytes((content + "\r\n").toLatin1(), state, store);
        QCOMPARE(result.errorNumber, error);
        QCOMPARE(result.ok, error == 0);
        QCOMPARE(result.toolTip.isEmpty(), error != 0);
        QCOMPARE(configurationText(state, store).split("\r\n"), expected);
    }

    // What the open shows before its suggestion.
    void openMessages_data()
    {
        QTest::addColumn<QString>("name"); // in the temporary folder unless it starts with /
        QTest::addColumn<QByteArray>("content"); // written to it first unless null
        QTest::addColumn<QString>("message"); // "%1" stands for the file's path

        const QString kept = "These settings were missing or incomplete in the file and kept their "
                             "previous values: ";
        QByteArray gaps = m_golden;
        gaps.remove(gaps.indexOf("LinkID6:"), 13).remove(gaps.indexOf("DefaultPause:"), 15);
        QTest::newRow("complete file") << "a.led" << m_golden << QString();
        QTest::newRow("lines missing")
            << "a.led" << gaps << kept + "link ID 6; default message pause.";
        QTest::newRow("file cut inside a LinkID line: named, not applied")
            << "a.led" << m_golden.left(m_golden.indexOf("234568"))
            << "The file ends inside line 9, LinkID1:, which may be cut short; it was not "
               "read.\r\n"
                + kept
                + "link IDs 1, 2, 3, 4, 5, 6, 7; default message text, font, colour, style, "
                  "alignment, speed, pause; Auto ID.";
        QTest::newRow("empty file") << "a.led" << QByteArray("")
                                    << "No setting could be read from the file; every setting kept "
                                       "its previous value.";
        QTest::newRow("error after applied lines")
            << "a.led" << QByteArray("Model:A\r\nCom:13\r\n")
            << "Error 380 opening file.\r\nInvalid property value in line 2, Com: \"13\" is not "
               "in the list\r\nThe settings before line 2 were applied; the rest of the file was "
               "not read.";
        QTest::newRow("error in the first setting")
            << "a.led" << QByteArray("\r\nAutoID:x\r\n")
            << "Error 13 opening file.\r\nType mismatch in line 2, AutoID: \"x\" is not a "
               "number\r\nNo setting was changed.";
        QTest::newRow("missing file") << "missing.led" << QByteArray()
                                      << "Error 53 opening file.\r\nFile not found: %1\r\nNo "
                                         "setting was changed.";
        QTest::newRow("a device, which could block")
            << "/dev/zero" << QByteArray()
            << "Error 75 opening file.\r\nPath/File access error: %1 is not a file\r\nNo "
               "setting was changed.";
        QTest::newRow("far too large")
            << "huge.led" << QByteArray(2 * 1024 * 1024, 'x')
            << "Error 7 opening file.\r\nFile too large: %1 is larger than 1 MB and is no "
               "configuration file\r\nNo setting was changed.";
    }

    void openMessages()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        const QString file = name.startsWith('/') ? name : path(name);
        QVERIFY(content.isNull() || writeFileBytes(file, content));
        MainState state;
        DefaultMessageStore store;
        QCOMPARE(core::openConfiguration(file, state, store).message(),
                 QString(message).replace("%1", file));
        QCOMPARE(store.configFileName, file); // set whatever the read gave
    }
};

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_config_file.moc"
