#include "Rfc2217Codec.h"

#include <QTest>

using tavrin::link::Rfc2217Codec;
using Negotiation = Rfc2217Codec::Negotiation;
using Settings = QList<Rfc2217Codec::LineSetting>;
using enum Rfc2217Codec::LineSetting;

namespace {

// Telnet: IAC 255, SB 250, SE 240, WILL 251, WONT 252, DO 253, DONT 254; options BINARY 0,
// SGA 3, COM-PORT-OPTION 44.
QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QByteArray sub(int command, std::initializer_list<int> value) // a COM-PORT-OPTION subnegotiation
{
    return bytes({ 255, 250, 44, command }) + bytes(value) + bytes({ 255, 240 });
}

const QByteArray kOpening
    = bytes({ 255, 251, 44, 255, 251, 0, 255, 253, 0, 255, 251, 3, 255, 253, 3 });
const QByteArray kAgree = bytes({ 255, 253, 44 });
const QByteArray kLineSettings
    = sub(1, { 0, 0, 0x25, 0x80 }) + sub(2, { 8 }) + sub(3, { 1 }) + sub(4, { 1 });

} // namespace

class TestRfc2217Codec : public QObject
{
    Q_OBJECT

private slots:
    void decoding_data();
    void decoding();
    void comPortOption_data();
    void comPortOption();
};

void TestRfc2217Codec::decoding_data()
{
    QTest::addColumn<QByteArrayList>("reads");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QByteArray>("owed"); // after the opening requests
    // Each row then sends CR and 0xFF: CR NUL stands for CR until the server lets us send
    // binary.
    QTest::addColumn<QByteArray>("wire");
    const QByteArray nvt = bytes({ '\r', 0, 255, 255 });

    QTest::newRow("IAC IAC split across two reads; a notification with IAC IAC consumed")
        << QByteArrayList { bytes({ 'a', 255 }), bytes({ 255 }) + sub(106, { 255, 255 }) + "b" }
        << bytes({ 'a', 255, 'b' }) << QByteArray() << nvt;
    QTest::newRow("unknown options refused")
        << QByteArrayList { bytes({ 255, 253, 24, 255, 251, 1 }) } << QByteArray()
        << bytes({ 255, 252, 24, 255, 254, 1 }) << nvt;
    QTest::newRow("binary agreed, and not answered when asked again")
        << QByteArrayList { bytes({ 255, 253, 0, 255, 253, 0, 255, 251, 3 }) } << QByteArray()
        << QByteArray() << bytes({ '\r', 255, 255 });
    QTest::newRow("the server asks for our signature")
        << QByteArrayList { sub(100, {}) } << QByteArray()
        << sub(0, { 'T', 'a', 'v', 'r', 'i', 'n' }) << nvt;
    QTest::newRow("CR NUL is CR until binary is agreed")
        << QByteArrayList { "a\r", bytes({ 0, 'b' }) } << QByteArray("a\rb") << QByteArray() << nvt;
    QTest::newRow("after binary, NUL is data") << QByteArrayList { bytes({ 255, 251, 0, '\r', 0 }) }
                                               << bytes({ '\r', 0 }) << QByteArray() << nvt;
}

void TestRfc2217Codec::decoding()
{
    QFETCH(QByteArrayList, reads);
    QFETCH(QByteArray, payload);
    QFETCH(QByteArray, owed);
    QFETCH(QByteArray, wire);
    Rfc2217Codec codec;
    QCOMPARE(codec.takeOutgoing(), kOpening);
    QByteArray received;
    for (const QByteArray &read : reads)
        received += codec.decode(read);
    QCOMPARE(received, payload);
    QCOMPARE(codec.takeOutgoing(), owed);
    QCOMPARE(codec.encode(bytes({ '\r', 255 })), wire);
}

void TestRfc2217Codec::comPortOption_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<Negotiation>("negotiation");
    QTest::addColumn<QByteArray>("owed");
    QTest::addColumn<Settings>("unanswered");
    QTest::addColumn<Settings>("refused");

    const QByteArray confirmed = sub(102, { 8 }) + sub(103, { 1 }) + sub(104, { 1 });
    QTest::newRow("agreed: the line settings follow")
        << kAgree << Negotiation::Agreed << kLineSettings
        << Settings { BaudRate, DataSize, Parity, StopSize } << Settings {};
    QTest::newRow("refused") << bytes({ 255, 254, 44 }) << Negotiation::Refused << QByteArray()
                             << Settings {} << Settings {};
    QTest::newRow("never answered")
        << QByteArray() << Negotiation::Waiting << QByteArray() << Settings {} << Settings {};
    QTest::newRow("every setting confirmed")
        << kAgree + sub(101, { 0, 0, 0x25, 0x80 }) + confirmed << Negotiation::Agreed
        << kLineSettings << Settings {} << Settings {};
    QTest::newRow("the server keeps 19200 baud, and hears nothing of the rest")
        << kAgree + sub(101, { 0, 0, 0x4b, 0 }) << Negotiation::Agreed << kLineSettings
        << Settings { DataSize, Parity, StopSize } << Settings { BaudRate };
    QTest::newRow("agreed, then withdrawn")
        << kAgree + bytes({ 255, 254, 44 }) << Negotiation::Refused
        << kLineSettings + bytes({ 255, 252, 44 }) << Settings {} << Settings {};
}

void TestRfc2217Codec::comPortOption()
{
    QFETCH(QByteArray, answer);
    QFETCH(Negotiation, negotiation);
    QFETCH(QByteArray, owed);
    QFETCH(Settings, unanswered);
    QFETCH(Settings, refused);
    Rfc2217Codec codec;
    codec.takeOutgoing();
    QVERIFY(codec.decode(answer).isEmpty());
    QCOMPARE(codec.comPortNegotiation(), negotiation);
    QCOMPARE(codec.takeOutgoing(), owed);
    QCOMPARE(codec.unansweredSettings(), unanswered);
    QCOMPARE(codec.refusedSettings(), refused);
}

QTEST_APPLESS_MAIN(TestRfc2217Codec)
#include "tst_rfc2217_codec.moc"
