#pragma once

#include <QByteArray>

namespace tavrin::update {

// Keeps the last bytes of a file as it streams past, enough to tell whether it ends with a
// zip archive's end-of-central-directory record: the one proof that an archive sent without
// a length arrived to its end.
class ZipTail
{
public:
    void append(QByteArrayView data);
    void clear();
    // The stream ends with an end record whose comment reaches exactly to the last byte and
    // whose central directory lies just before it.
    bool endsWithDirectory() const;

private:
    QByteArray m_tail;
    qint64 m_total = 0;
};

} // namespace tavrin::update
