#include "ConfigFileWriter.h"

#include "ConfigLine.h"
#include "Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tavrin::storage {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
constexpr QChar kFileLineBreak = QChar(0xAA); // character 170 stands for a message line break

// A break inside a one-line value would split the file's line; it becomes a blank.
QString oneLine(QString text)
{
    text.replace(kCrLf, QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

// Every CR LF becomes character 170, and so does a lone CR or LF (a message typed in a Qt
// editor breaks lines with LF alone), so the message always stays on its own line.
QString messageLine(QString text)
{
    text.replace(kCrLf, QString(kFileLineBreak));
    text.replace(QLatin1Char('\r'), kFileLineBreak);
    text.replace(QLatin1Char('\n'), kFileLineBreak);
    return text;
}

QString line(ConfigKey key, const QString &value, int index = 0)
{
    return configKeyText(key, index) + value + kCrLf;
}

QString number(int value)
{
    return QString::number(value);
}

bool writeAll(QIODevice &device, const QByteArray &bytes)
{
    return device.write(bytes) == bytes.size();
}

// A short write leaves Qt's error text at "Unknown error"; the system's reason is in errno.
QString writeFailure(const QFileDevice &file, int error)
{
    return error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString();
}

// A device, FIFO or socket cannot be renamed over: the bytes go straight in. The open does
// not wait, so a FIFO without a reader fails at once instead of hanging the program.
SaveResult writeIntoDevice(const QString &path, const QByteArray &bytes)
{
    QFile file;
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return { error == ENXIO ? QStringLiteral("no program is reading from it")
                                : QString::fromLocal8Bit(std::strerror(error)) };
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFile::AutoCloseHandle)) {
        ::close(fd);
        return { file.errorString() };
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return { file.errorString() };
#endif
    errno = 0;
    if (!writeAll(file, bytes) || file.error() != QFileDevice::NoError)
        return { writeFailure(file, errno) };
    file.close();
    if (file.error() != QFileDevice::NoError)
        return { file.errorString() };
    return {};
}

} // namespace

QString configurationText(const SavedSettings &settings)
{
    const QChar comma = QLatin1Char(',');
    QString text;
    text += line(ConfigKey::Model, oneLine(settings.modelLabel));
    text += line(ConfigKey::Com, number(settings.portIndex + 1));
    for (int i = 0; i < protocol::kRows; ++i) {
        const protocol::PriorityRow &row = settings.config.rows[size_t(i)];
        // The sign's field order, not the upload command's.
        QString fields;
        for (vocab::Attribute attribute : protocol::kSignFieldOrder)
            fields += number(row.code(attribute)) + comma;
        text += line(ConfigKey::Pri, fields + oneLine(row.timeout), i);
    }
    for (int i = 0; i < protocol::kLinks; ++i) {
        const protocol::LinkRow &link = settings.config.links[size_t(i)];
        text += line(ConfigKey::LinkID, oneLine(link.capcode) + comma + number(link.priority), i);
    }
    const protocol::DefaultMessage &message = settings.defaultMessage;
    text += line(ConfigKey::DefaultMsg, messageLine(message.text));
    text += line(ConfigKey::DefaultFont, number(message.attributes.font));
    text += line(ConfigKey::DefaultColor, number(message.attributes.color));
    text += line(ConfigKey::DefaultStyle, number(message.attributes.style));
    text += line(ConfigKey::DefaultAlignment, number(message.attributes.alignment));
    text += line(ConfigKey::DefaultSpeed, number(message.attributes.speed));
    text += line(ConfigKey::DefaultPause, number(message.attributes.pause));
    text += line(ConfigKey::AutoID, number(settings.config.autoID));
    return text;
}

QByteArray configurationBytes(const SavedSettings &settings)
{
    return toWindows1252(QString(configurationText(settings) + kCrLf));
}

SaveResult writeTextFile(const QString &path, const QString &text)
{
    return writeBytes(path, toWindows1252(QString(text + kCrLf)));
}

SaveResult writeBytes(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        return { QStringLiteral("no file name was given") };
    const QFileInfo info(path);
    if (info.isDir())
        return { QStringLiteral("it is a folder") };
    if (info.exists() && !info.isFile())
        return writeIntoDevice(path, bytes);
    // A read-only file is the user's way of protecting it; QSaveFile would replace it.
    if (info.exists() && !info.isWritable())
        return { QStringLiteral("the file is read-only") };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return { file.errorString() };
    // commit() renames the temporary file over the old one even when its own flush fails (a
    // full disk), so the bytes must have reached the file before it runs.
    errno = 0;
    if (!writeAll(file, bytes) || !file.flush() || file.error() != QFileDevice::NoError) {
        const QString reason = writeFailure(file, errno);
        file.cancelWriting();
        return { reason };
    }
    if (!file.commit())
        return { file.errorString() };
    return {};
}

} // namespace tavrin::storage
