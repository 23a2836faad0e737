#include "ZipTail.h"

#include <QtEndian>

namespace tavrin::update {

namespace {

constexpr qsizetype kRecordBytes = 22; // the end record without its comment
constexpr qsizetype kMaxCommentBytes = 0xFFFF;
constexpr qsizetype kKeptBytes = kRecordBytes + kMaxCommentBytes;
constexpr qsizetype kZip64LocatorBytes = 20;
constexpr quint32 kZip64Marker = 0xFFFFFFFF;

} // namespace

void ZipTail::append(QByteArrayView data)
{
    m_total += data.size();
    m_tail.append(data);
    if (m_tail.size() > 2 * kKeptBytes) // trimmed in bulk, so a long stream costs little
        m_tail.remove(0, m_tail.size() - kKeptBytes);
}

void ZipTail::clear()
{
    m_tail.clear();
    m_total = 0;
}

bool ZipTail::endsWithDirectory() const
{
    const auto *bytes = reinterpret_cast<const uchar *>(m_tail.constData());
    const qsizetype size = m_tail.size();
    for (qsizetype at = size - kRecordBytes; at >= 0 && size - at <= kKeptBytes; --at) {
        const uchar *record = bytes + at;
        if (QByteArrayView(record, 4) != QByteArrayView("PK\x05\x06")
            || qFromLittleEndian<quint16>(record + 20) != size - at - kRecordBytes)
            continue;
        const quint32 directoryBytes = qFromLittleEndian<quint32>(record + 12);
        const quint32 directoryOffset = qFromLittleEndian<quint32>(record + 16);
        if (directoryBytes == kZip64Marker || directoryOffset == kZip64Marker) {
            return at >= kZip64LocatorBytes
                && QByteArrayView(record - kZip64LocatorBytes, 4) == QByteArrayView("PK\x06\x07");
        }
        const qint64 recordOffset = m_total - (size - at);
        return qint64(directoryOffset) + directoryBytes == recordOffset;
    }
    return false;
}

} // namespace tavrin::update
