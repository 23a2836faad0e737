#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace tavrin::signsim {

// Cuts the received byte stream into commands. Commands end with "\r", except the two
// idle switches, which the client writes bare and may follow at once with the next command.
class CommandFramer
{
public:
    // The commands completed by these bytes, as received: with their "\r" where they had one.
    QList<QByteArray> feed(QByteArrayView bytes);
    QByteArray pending() const { return m_buffer; } // an unfinished command
    void clear() { m_buffer.clear(); }

    static constexpr qsizetype kMaxCommandLength = 4096; // longer input is dropped

private:
    QByteArray m_buffer;
};

} // namespace tavrin::signsim
