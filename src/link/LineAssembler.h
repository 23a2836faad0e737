#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace tavrin::link {

// Cuts received characters into reply lines: a line feed ends a line (not part of it, nothing
// trimmed), and a line left unfinished for kIdleTicks + 1 ticks of DataTimeout is dropped.
class LineAssembler
{
public:
    static constexpr int kIdleTicks = 10;
    // A line longer than this is discarded whole, up to its line feed or idle drop: a sign
    // streaming garbage must not grow memory, and a tail of it must not pass for a reply.
    static constexpr qsizetype kMaxLineLength = 64 * 1024;

    // Returns the lines the bytes complete, in order.
    QStringList feed(QByteArrayView bytes);
    // One DataTimeout tick; false once the wait is over and the unfinished line is gone.
    bool tick();
    // Forgets the unfinished line and stops waiting.
    void reset();

    // True while DataTimeout should run: the last character was not a line feed.
    bool isWaiting() const { return m_waiting; }
    const QString &replyLine() const { return m_replyLine; }
    const QString &lastChunk() const { return m_lastChunk; }

private:
    QString m_replyLine;
    QString m_lastChunk;
    int m_lineIdleCount = 0;
    bool m_waiting = false;
    bool m_overflow = false;
};

} // namespace tavrin::link
