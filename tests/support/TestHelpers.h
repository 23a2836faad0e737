#pragma once

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QString>

// A file's bytes, or `unreadable` when it cannot be read, so that a missing file never
// compares equal to an empty one by accident.
inline QByteArray readFileBytes(const QString &path, const QByteArray &unreadable = "(unreadable)")
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : unreadable;
}

inline bool writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A window's control by its object name.
template<typename T> T *child(const QObject &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}
