#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace tavrin::storage {

// The .led file's code page, one byte per character. Hand-rolled because QStringConverter
// does not offer Windows-1252 on every platform; only 0x80-0x9F differ from Latin-1.

// Characters without a Windows-1252 byte become '?', one per character (a surrogate pair
// counts as one).
QByteArray toWindows1252(QStringView text);
// The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the
// C1 controls of the same value, so that they survive a read and write unchanged.
QString fromWindows1252(const QByteArray &bytes);

} // namespace tavrin::storage
