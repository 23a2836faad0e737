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

QString configurationText(const core::MainState &state, const core::DefaultMessageStore &store)
{
    const QChar comma = QLatin1Char(',');
    QString text;
    text += line(ConfigKey::Model, oneLine(state.modelLabel));
    text += line(ConfigKey::Com, number(state.portIndex + 1));
    for (int i = 0; i < core::kRows; ++i) {
        const core::PriorityRow &row = state.config.rows[size_t(i)];
        // Not the upload command's order: style comes before colour, speed before alignment.
        const QString fields = number(row.font) + comma + number(row.style) + comma
            + number(row.color) + comma + number(row.speed) + comma + number(row.alignment) + comma
            + number(row.pause) + comma + number(row.beep) + comma + oneLine(row.timeout);
        text += line(ConfigKey::Pri, fields, i);
    }
    for (int i = 0; i < core::kLinks; ++i) {
        const core::LinkRow &link = state.config.links[size_t(i)];
        text += line(ConfigKey::LinkID, oneLine(link.capcode) + comma + number(link.priority), i);
    }
    text += line(ConfigKey::DefaultMsg, messageLine(store.DefMsg));
    text += line(ConfigKey::DefaultFont, number(store.DefFont));
    text += line(ConfigKey::DefaultColor, number(store.DefColor));
    text += line(ConfigKey::DefaultStyle, number(store.DefStyle));
    text += line(ConfigKey::DefaultAlignment, number(store.DefAlign));
    text += line(ConfigKey::DefaultSpeed, number(store.DefSpeed));
    text += line(ConfigKey::DefaultPause, number(store.DefPause));
    text += line(ConfigKey::AutoID, number(state.config.autoID));
    return text;
}

bool SaveTextToFile(const QString &FileFullPath, const QString &sText)
{
    const QByteArray bytes = toWindows1252(sText) + toWindows1252(kCrLf);
    if (FileFullPath.isEmpty())
        return false;

    // A read-only file is the user's way of protecting it; QSaveFile would replace it.
    const QFileInfo info(FileFullPath);
    if (info.exists() && !info.isWritable())
        return false;
    QSaveFile file(FileFullPath);
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
