#include "ConfigFileWriter.h"

#include "ConfigLine.h"
#include "Windows1252.h"

#include <QFileInfo>
#include <QSaveFile>

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

bool writeTextFile(const QString &path, const QString &text)
{
    const QByteArray bytes = toWindows1252(text) + toWindows1252(kCrLf);
    if (path.isEmpty())
        return false;
    // A read-only file is the user's way of protecting it; QSaveFile would replace it.
    const QFileInfo info(path);
    if (info.exists() && !info.isWritable())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() renames the temporary file over the old one even when its own flush fails (a
    // full disk), so the bytes must have reached the file before it runs.
    if (!writeAll(file, bytes) || !file.flush() || file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace tavrin::storage
