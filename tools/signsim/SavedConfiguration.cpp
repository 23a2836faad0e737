#include "SavedConfiguration.h"

#include "MainFile.h"
#include "UploadProgress.h"
#include "Vocabulary.h"
#include "Windows1252.h"

namespace tavrin::signsim {
namespace {

constexpr QChar kFileLineBreak { 170 };

// The command as the sign reads the bytes a window sends, without its "\r".
QString asReceived(const QString &command)
{
    const QString text = command.endsWith(QLatin1Char('\r')) ? command.chopped(1) : command;
    return QString::fromLatin1(storage::toWindows1252(text));
}

// The default-message command, its text with "$L" for line breaks and "$T" time codes.
QString defaultMessageCommand(const core::DefaultMessageStore &store)
{
    QString text = store.message.text;
    text.replace(QLatin1String("\r\n"), QString(kFileLineBreak));
    text.replace(kFileLineBreak, QLatin1String("$L"));
    for (const vocab::TimeFormat &format : vocab::timeFormats())
        text.replace(QLatin1String(format.marker), QLatin1String(format.code));
    return QStringLiteral("<DF f=%1 c=%2 s=%3 a=%4 sp=%5 p=%6>")
               .arg(store.message.attributes.font)
               .arg(store.message.attributes.color)
               .arg(store.message.attributes.style)
               .arg(store.message.attributes.alignment)
               .arg(store.message.attributes.speed)
               .arg(store.message.attributes.pause)
        + text;
}

} // namespace

std::optional<SavedConfiguration> readSavedConfiguration(const QString &path, QString *error)
{
    core::MainState state;
    core::DefaultMessageStore store;
    const storage::ReadResult result = core::readConfigFile(path, state, store);
    if (!result.ok) {
        *error = result.description;
        return std::nullopt;
    }

    SavedConfiguration saved;
    saved.model = state.modelLabel;
    saved.notice = result.notice;
    // The factory capcodes would otherwise count against the sign's sixteen entries while
    // the upload relinks the IDs one by one.
    for (int i = 0; i < protocol::kLinks; ++i)
        saved.commands << QStringLiteral("<link id=%1 cap=0>").arg(i);

    protocol::markAllPending(state.flags);
    state.flags.userCommand = false;
    const core::UploadCommands commands = protocol::uploadCommands(state.config);
    for (core::UploadStep step = core::uploadTick(state, commands); !step.finished;
         step = core::uploadTick(state, commands)) {
        saved.commands << asReceived(step.first);
        if (step.pauseThenSecond)
            saved.commands << asReceived(step.second);
    }
    if (!store.message.text.isEmpty())
        saved.commands << asReceived(defaultMessageCommand(store));
    return saved;
}

} // namespace tavrin::signsim
