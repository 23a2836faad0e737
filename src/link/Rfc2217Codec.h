#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <array>
#include <optional>
#include <utility>

namespace tavrin::link {

// The serial line a device server is asked to set, in RFC 2217's values.
struct RemoteLineSettings
{
    quint32 baudRate = 9600;
    quint8 dataSize = 8;
    quint8 parity = 1; // NONE
    quint8 stopSize = 1; // one stop bit
};

// The Telnet side of a connection to an RFC 2217 device server, without I/O. Received
// bytes go in and the serial line's bytes come out; negotiation and subnegotiations are
// consumed, and what the protocol owes the server queues up for takeOutgoing(). The
// codec has no clock: its owner gives up when the com-port option or a line setting
// stays unanswered too long.
class Rfc2217Codec
{
public:
    enum class Negotiation { Waiting, Agreed, Refused };
    enum class LineSetting { BaudRate, DataSize, Parity, StopSize };

    // Queues the opening requests: the com-port option, and binary transmission and no
    // go-aheads both ways. The line settings follow once the server agrees.
    explicit Rfc2217Codec(const RemoteLineSettings &settings = RemoteLineSettings());

    // The serial line's bytes among those received.
    QByteArray decode(QByteArrayView received);
    // The serial line's bytes as they go on the wire.
    QByteArray encode(QByteArrayView payload) const;
    // What is owed to the server since the last call.
    QByteArray takeOutgoing() { return std::exchange(m_outgoing, {}); }

    Negotiation comPortNegotiation() const;
    // Once agreed: the settings the server has not answered yet, and those it answered
    // with another value than the one asked for.
    QList<LineSetting> unansweredSettings() const;
    QList<LineSetting> refusedSettings() const;

private:
    enum class Option : quint8 { No, WantYes, Yes }; // RFC 1143, without our own disabling
    struct OptionState
    {
        Option us = Option::No; // what we do, as the server's DO and DONT speak of it
        Option him = Option::No;
    };
    enum class State { Data, Iac, Verb, Sub, SubIac };

    void consume(quint8 byte, QByteArray &payload);
    void appendPayload(quint8 byte, QByteArray &payload);
    void appendSubnegotiation(quint8 byte);
    void negotiate(quint8 verb, quint8 option);
    void subnegotiation(QByteArrayView data);
    void request(quint8 verb, quint8 option);
    void send(quint8 verb, quint8 option);
    void sendSubcommand(quint8 command, QByteArrayView value);
    void sendLineSettings();

    static constexpr int kSettings = 4;
    std::array<quint32, kSettings> m_asked; // by LineSetting
    std::array<std::optional<quint32>, kSettings> m_answers {};
    std::array<OptionState, 256> m_options {};
    State m_state = State::Data;
    quint8 m_verb = 0;
    QByteArray m_sub;
    bool m_afterCr = false;
    QByteArray m_outgoing;
};

} // namespace tavrin::link
