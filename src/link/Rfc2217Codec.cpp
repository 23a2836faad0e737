#include "Rfc2217Codec.h"

#include <QtEndian>

namespace tavrin::link {

namespace {

// Telnet commands (RFC 854) and options.
constexpr quint8 kSe = 240, kSb = 250, kWill = 251, kWont = 252, kDo = 253, kDont = 254, kIac = 255;
constexpr quint8 kBinary = 0, kSuppressGoAhead = 3, kComPortOption = 44;

// COM-PORT-OPTION subcommands of the client; the server answers each with its code + 100.
constexpr quint8 kSignature = 0, kSetBaudRate = 1, kServerReply = 100;
constexpr qsizetype kMaxSubnegotiationBytes = 256; // the replies we read are a few bytes
constexpr QByteArrayView kSignatureText = "Tavrin";

bool weDo(quint8 option)
{
    return option == kBinary || option == kSuppressGoAhead || option == kComPortOption;
}

// An echoing server would hand the sign's own commands back as replies.
bool serverMay(quint8 option)
{
    return option == kBinary || option == kSuppressGoAhead;
}

QByteArray doubledIac(QByteArrayView bytes)
{
    QByteArray out;
    for (char c : bytes) {
        out.append(c);
        if (quint8(c) == kIac)
            out.append(c);
    }
    return out;
}

} // namespace

Rfc2217Codec::Rfc2217Codec(const RemoteLineSettings &settings)
    : m_asked { settings.baudRate, settings.dataSize, settings.parity, settings.stopSize }
{
    request(kWill, kComPortOption);
    for (quint8 option : { kBinary, kSuppressGoAhead }) {
        request(kWill, option);
        request(kDo, option);
    }
}

QByteArray Rfc2217Codec::decode(QByteArrayView received)
{
    QByteArray payload;
    payload.reserve(received.size());
    for (char c : received)
        consume(quint8(c), payload);
    return payload;
}

void Rfc2217Codec::consume(quint8 byte, QByteArray &payload)
{
    switch (m_state) {
    case State::Data:
        if (byte == kIac)
            m_state = State::Iac;
        else
            appendPayload(byte, payload);
        return;
    case State::Iac:
        m_state = State::Data;
        if (byte == kIac) {
            appendPayload(byte, payload);
        } else if (byte >= kWill) {
            m_verb = byte;
            m_state = State::Verb;
        } else if (byte == kSb) {
            m_sub.clear();
            m_state = State::Sub;
        } // NOP, GA, DM and the like mean nothing to a serial line
        return;
    case State::Verb:
        m_state = State::Data;
        negotiate(m_verb, byte);
        return;
    case State::Sub:
        if (byte == kIac)
            m_state = State::SubIac;
        else
            appendSubnegotiation(byte);
        return;
    case State::SubIac:
        if (byte == kIac) {
            m_state = State::Sub;
            appendSubnegotiation(byte);
        } else if (byte == kSe) {
            m_state = State::Data;
            subnegotiation(m_sub);
        } else {
            m_state = State::Iac; // a command cuts the subnegotiation short
            consume(byte, payload);
        }
        return;
    }
}

void Rfc2217Codec::appendSubnegotiation(quint8 byte)
{
    if (m_sub.size() < kMaxSubnegotiationBytes)
        m_sub.append(char(byte));
}

// Without binary transmission a bare CR comes as CR NUL (RFC 854).
void Rfc2217Codec::appendPayload(quint8 byte, QByteArray &payload)
{
    const bool nvtPadding = m_afterCr && byte == 0 && m_options[kBinary].him != Option::Yes;
    m_afterCr = byte == '\r';
    if (!nvtPadding)
        payload.append(char(byte));
}

QByteArray Rfc2217Codec::encode(QByteArrayView payload) const
{
    const bool nvt = m_options[kBinary].us != Option::Yes;
    QByteArray wire;
    wire.reserve(payload.size() + 16);
    for (char c : payload) {
        wire.append(c);
        if (quint8(c) == kIac)
            wire.append(c);
        else if (nvt && c == '\r')
            wire.append('\0');
    }
    return wire;
}

void Rfc2217Codec::negotiate(quint8 verb, quint8 option)
{
    const bool aboutUs = verb == kDo || verb == kDont;
    const bool enable = verb == kDo || verb == kWill;
    Option &state = aboutUs ? m_options[option].us : m_options[option].him;
    const quint8 yes = aboutUs ? kWill : kDo;
    const quint8 no = aboutUs ? kWont : kDont;
    const Option before = state;
    if (!enable) {
        if (state == Option::Yes)
            send(no, option); // a disabled option is acknowledged; a refusal is not
        state = Option::No;
    } else if (state == Option::WantYes) {
        state = Option::Yes;
    } else if (state == Option::No) {
        const bool accepted = aboutUs ? weDo(option) : serverMay(option);
        send(accepted ? yes : no, option);
        state = accepted ? Option::Yes : Option::No;
    }
    if (aboutUs && option == kComPortOption && before != Option::Yes && state == Option::Yes)
        sendLineSettings();
}

void Rfc2217Codec::subnegotiation(QByteArrayView data)
{
    if (data.size() < 2 || quint8(data[0]) != kComPortOption)
        return;
    const int command = quint8(data[1]);
    const QByteArrayView value = data.sliced(2);
    if (command == kServerReply + kSignature && value.isEmpty()) {
        sendSubcommand(kSignature, kSignatureText); // the server asks who we are
        return;
    }
    const int setting = command - kServerReply - kSetBaudRate;
    if (setting < 0 || setting >= kSettings)
        return; // line and modem state notifications, and what we did not ask
    const bool isBaudRate = setting == int(LineSetting::BaudRate);
    if (value.size() != (isBaudRate ? 4 : 1))
        return;
    m_answers[setting] = isBaudRate ? qFromBigEndian<quint32>(value.data()) : quint8(value[0]);
}

void Rfc2217Codec::request(quint8 verb, quint8 option)
{
    (verb == kWill ? m_options[option].us : m_options[option].him) = Option::WantYes;
    send(verb, option);
}

void Rfc2217Codec::send(quint8 verb, quint8 option)
{
    m_outgoing.append(char(kIac)).append(char(verb)).append(char(option));
}

void Rfc2217Codec::sendSubcommand(quint8 command, QByteArrayView value)
{
    m_outgoing.append(char(kIac)).append(char(kSb)).append(char(kComPortOption));
    m_outgoing.append(char(command)).append(doubledIac(value));
    m_outgoing.append(char(kIac)).append(char(kSe));
}

// In the order RFC 2217 recommends, so no step leaves an invalid line in between.
void Rfc2217Codec::sendLineSettings()
{
    m_answers = {};
    for (int setting = 0; setting < kSettings; ++setting) {
        char value[4];
        qToBigEndian(m_asked[setting], value);
        const bool isBaudRate = setting == int(LineSetting::BaudRate);
        sendSubcommand(quint8(kSetBaudRate + setting),
                       isBaudRate ? QByteArrayView(value, 4) : QByteArrayView(value + 3, 1));
    }
}

Rfc2217Codec::Negotiation Rfc2217Codec::comPortNegotiation() const
{
    switch (m_options[kComPortOption].us) {
    case Option::WantYes:
        return Negotiation::Waiting;
    case Option::Yes:
        return Negotiation::Agreed;
    case Option::No:
        break;
    }
    return Negotiation::Refused;
}

QList<Rfc2217Codec::LineSetting> Rfc2217Codec::unansweredSettings() const
{
    QList<LineSetting> settings;
    for (int setting = 0; setting < kSettings; ++setting) {
        if (!m_answers[setting] && comPortNegotiation() == Negotiation::Agreed)
            settings.append(LineSetting(setting));
    }
    return settings;
}

QList<Rfc2217Codec::LineSetting> Rfc2217Codec::refusedSettings() const
{
    QList<LineSetting> settings;
    for (int setting = 0; setting < kSettings; ++setting) {
        if (m_answers[setting] && *m_answers[setting] != m_asked[setting])
            settings.append(LineSetting(setting));
    }
    return settings;
}

} // namespace tavrin::link
