#include "ConfigFileReader.h"

#include "ConfigLine.h"
#include "ConfigLineApplier.h"
#include "Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <set>
#include <utility>

namespace tavrin::storage {

using protocol::Code;
using protocol::kSignFieldOrder;
using vocab::Attribute;

namespace {

// A saved configuration is about 1 KB; anything this large is not one and is not read.
constexpr qint64 kMaxConfigFileBytes = 1024 * 1024;
QString errorTitle(int number)
{
    switch (number) {
    case kErrorOverflow:
        return QStringLiteral("Overflow");
    case kErrorFileTooLarge:
        return QStringLiteral("File too large");
    case kErrorTypeMismatch:
        return QStringLiteral("Type mismatch");
    case kErrorFileNotFound:
        return QStringLiteral("File not found");
    case kErrorDeviceIO:
        return QStringLiteral("Device I/O error");
    case kErrorFileAccess:
        return QStringLiteral("Path/File access error");
    case kErrorInvalidValue:
        return QStringLiteral("Invalid property value");
    }
    return QStringLiteral("Unexpected error");
}

const QString kNothingChanged = QStringLiteral("No setting was changed.");

ReadResult failure(int number, const QString &detail)
{
    ReadResult result;
    result.ok = false;
    result.errorNumber = number;
    result.description = errorTitle(number) + QLatin1String(": ") + detail;
    result.notice = kNothingChanged;
    return result;
}

using ReadKeys = std::set<std::pair<ConfigKey, int>>;

// The settings that no line of the file set, as the window names them.
QString unreadSettings(const ReadKeys &read)
{
    QStringList groups;
    const auto plain = [&](ConfigKey key, const char *name) {
        if (!read.contains({ key, 0 }))
            groups << QLatin1String(name);
    };
    const auto numbered = [&](ConfigKey key, int count, const char *one, const char *many) {
        QStringList numbers;
        for (int i = 0; i < count; ++i) {
            if (!read.contains({ key, i }))
                numbers << QString::number(i);
        }
        if (!numbers.isEmpty())
            groups << QLatin1String(numbers.size() == 1 ? one : many) + QLatin1Char(' ')
                    + numbers.join(QLatin1String(", "));
    };
    constexpr std::pair<ConfigKey, const char *> kDefaultMessageParts[] = {
        { ConfigKey::DefaultMsg, "text" },
        { ConfigKey::DefaultFont, "font" },
        { ConfigKey::DefaultColor, "colour" },
        { ConfigKey::DefaultStyle, "style" },
        { ConfigKey::DefaultAlignment, "alignment" },
        { ConfigKey::DefaultSpeed, "speed" },
        { ConfigKey::DefaultPause, "pause" },
    };

    plain(ConfigKey::Model, "model");
    plain(ConfigKey::Com, "port");
    numbered(ConfigKey::Pri, protocol::kRows, "priority row", "priority rows");
    numbered(ConfigKey::LinkID, protocol::kLinks, "link ID", "link IDs");
    QStringList parts;
    for (const auto &[key, name] : kDefaultMessageParts) {
        if (!read.contains({ key, 0 }))
            parts << QLatin1String(name);
    }
    if (!parts.isEmpty())
        groups << QLatin1String("default message ") + parts.join(QLatin1String(", "));
    plain(ConfigKey::AutoID, "Auto ID");
    return groups.join(QLatin1String("; "));
}

} // namespace

QString ReadResult::message() const
{
    if (ok)
        return notice;
    QString text = QLatin1String("Error ") + QString::number(errorNumber)
        + QLatin1String(" opening file.\r\n") + description;
    if (!notice.isEmpty())
        text += QLatin1String("\r\n") + notice;
    return text;
}

ReadResult readConfigBytes(const QByteArray &bytes, SavedSettings &settings,
                           const vocab::MainProfile &lists)
{
    // Lines end at CR LF, CR or LF, as a text-mode reader splits them.
    const QString text = fromWindows1252(bytes);
    const QStringView all(text);
    qsizetype start = 0;
    int lineNumber = 0;
    ReadKeys read;
    QString cutLine;
    while (start < all.size()) {
        qsizetype end = start;
        while (end < all.size() && all[end] != QLatin1Char('\r') && all[end] != QLatin1Char('\n'))
            ++end;
        ++lineNumber;
        const auto line = splitConfigLine(all.sliced(start, end - start));
        if (line && end == all.size()) {
            cutLine = QLatin1String("line ") + QString::number(lineNumber) + QLatin1String(", ")
                + configKeyText(line->key, line->index);
        } else if (line) {
            bool tookEffect = true;
            if (const auto error
                = applyConfigLine(lineNumber, *line, settings, lists, tookEffect)) {
                ReadResult result;
                result.ok = false;
                result.errorNumber = error->number;
                result.description
                    = errorTitle(error->number) + QLatin1String(" in ") + error->description;
                result.notice = read.empty()
                    ? kNothingChanged
                    : QLatin1String("The settings before line ") + QString::number(lineNumber)
                        + QLatin1String(" were applied; the rest of the file was not read.");
                return result;
            }
            if (tookEffect)
                read.insert({ line->key, line->index });
        }
        if (end < all.size() && all[end] == QLatin1Char('\r') && end + 1 < all.size()
            && all[end + 1] == QLatin1Char('\n'))
            ++end;
        start = end + 1;
    }

    ReadResult result;
    result.toolTip = settings.defaultMessage.summary();
    result.anySetting = !read.empty();
    result.cutLine = cutLine;
    if (read.empty())
        result.notice = QStringLiteral(
            "No setting could be read from the file; every setting kept its previous value.");
    else if (const QString unread = unreadSettings(read); !unread.isEmpty())
        result.notice = QLatin1String("These settings were missing or incomplete in the file and "
                                      "kept their previous values: ")
            + unread + QLatin1Char('.');
    if (!cutLine.isEmpty()) {
        const QString cut = QLatin1String("The file ends inside ") + cutLine
            + QLatin1String(", which may be cut short; it was not read.");
        result.notice = result.notice.isEmpty() ? cut : cut + QLatin1String("\r\n") + result.notice;
    }
    return result;
}

ReadResult readConfigFile(const QString &path, SavedSettings &settings,
                          const vocab::MainProfile &lists)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return failure(kErrorFileNotFound, shownPath);
    // Folders, devices and pipes are refused before they can block or flood the read.
    if (!info.isFile())
        return failure(kErrorFileAccess, shownPath + QLatin1String(" is not a file"));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(kErrorFileAccess, shownPath + QLatin1String(": ") + file.errorString());
    const QByteArray bytes = file.read(kMaxConfigFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return failure(kErrorDeviceIO, shownPath + QLatin1String(": ") + file.errorString());
    if (bytes.size() > kMaxConfigFileBytes)
        return failure(kErrorFileTooLarge,
                       shownPath
                           + QLatin1String(" is larger than 1 MB and is no configuration file"));

    return readConfigBytes(bytes, settings, lists);
}

} // namespace tavrin::storage
