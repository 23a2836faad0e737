#include "CommandFramer.h"

namespace tavrin::signsim {
namespace {

constexpr QByteArrayView kIdleCommands[] = { "<TIME>IDLE ON", "<TIME>IDLE OFF" };

enum class IdleMatch { None, Partial, Complete };

IdleMatch matchIdleCommand(QByteArrayView buffer, qsizetype *length)
{
    IdleMatch result = IdleMatch::None;
    for (QByteArrayView command : kIdleCommands) {
        if (buffer.startsWith(command)) {
            *length = command.size();
            return IdleMatch::Complete;
        }
        if (command.startsWith(buffer))
            result = IdleMatch::Partial;
    }
    return result;
}

} // namespace

QList<QByteArray> CommandFramer::feed(QByteArrayView bytes)
{
    m_buffer.append(bytes);
    QList<QByteArray> frames;
    while (!m_buffer.isEmpty()) {
        qsizetype length = 0;
        const IdleMatch idle = matchIdleCommand(m_buffer, &length);
        if (idle == IdleMatch::Partial)
            break; // could still become an idle switch; wait for more
        if (idle == IdleMatch::None) {
            const qsizetype end = m_buffer.indexOf('\r');
            if (end < 0)
                break;
            length = end + 1;
        }
        frames.append(m_buffer.left(length));
        m_buffer.remove(0, length);
    }
    if (m_buffer.size() > kMaxCommandLength)
        m_buffer.clear();
    return frames;
}

} // namespace tavrin::signsim
