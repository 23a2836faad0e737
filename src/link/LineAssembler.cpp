#include "LineAssembler.h"

namespace tavrin::link {

QStringList LineAssembler::feed(QByteArrayView bytes)
{
    QStringList lines;
    if (bytes.isEmpty())
        return lines;
    m_lastChunk = QString::fromLatin1(bytes);
    for (const char c : bytes) {
        m_lineIdleCount = kIdleTicks;
        m_waiting = true;
        if (c == '\n') {
            m_waiting = false;
            if (!m_overflow)
                lines.append(m_replyLine);
            m_replyLine.clear();
            m_overflow = false;
        } else if (m_overflow) {
            continue;
        } else if (m_replyLine.size() >= kMaxLineLength) {
            m_overflow = true;
            m_replyLine = QString(); // release the buffer, not just empty it
        } else {
            m_replyLine.append(QLatin1Char(c));
        }
    }
    return lines;
}

bool LineAssembler::tick()
{
    if (!m_waiting)
        return false;
    if (m_lineIdleCount < 1) {
        reset();
        return false;
    }
    --m_lineIdleCount;
    return true;
}

void LineAssembler::reset()
{
    m_replyLine = QString();
    m_lineIdleCount = 0;
    m_waiting = false;
    m_overflow = false;
}

} // namespace tavrin::link
