#pragma once

#include "DefaultMessageRecord.h"
#include "SignConfig.h"
#include "SignReplies.h"

#include <QString>

#include <optional>

namespace tavrin::protocol {

// The sign's idle message: its text (line breaks as CR LF, or as character 170 after a file
// was read) and its display attributes. It has no beep.
struct DefaultMessage
{
    QString text;
    Attributes attributes {
        .font = 0, .style = 0, .color = 0, .speed = 0, .alignment = 0, .pause = 0
    };

    // "Message:..., Font:n, Color:n, Style:n, Align:n, Speed:n, Pause:n".
    QString summary() const;
    friend bool operator==(const DefaultMessage &, const DefaultMessage &) = default;
};

// The message as the sign's record gives it; nothing when a code or the text is missing.
std::optional<DefaultMessage> defaultMessageOf(const DefaultMessageRecord &record);
// Line breaks as CR LF and times as placeholders, whether the text came from a file
// (character 170) or from the sign's record, so that the two compare.
DefaultMessage comparableDefaultMessage(DefaultMessage message);
// The command, "\r" included, that leaves message on the sign with the time display off.
QString defaultMessageUpload(const DefaultMessage &message);

// What the default-message editor writes to the sign and how it reads the answers.

inline const QString kDownloadDefaultMsgCommand = QStringLiteral("DOWNLOAD_DEFAULT_MSG\r");
inline const QString kTimeStatusCommand = QStringLiteral("TIME_STATUS\r");
inline const QString kResetCommand = QStringLiteral("RESET\r");
// The idle switches go out bare: the sign frames them without a carriage return.
inline const QString kIdleOnCommand = QStringLiteral("<TIME>IDLE ON");
inline const QString kIdleOffCommand = QStringLiteral("<TIME>IDLE OFF");

// The message command of an upload, before its "\r" and with time and line codes applied:
// "<del id=def>" for an empty message, "<DF f=.. c=.. s=.. a=.. sp=.. p=..>" and the text
// while the time display is off, and nothing while it is on (the sign then shows the time).
QString defaultMessageCommand(const QString &text, const Attributes &attributes,
                              bool timeDisplayOn);

// "<TIME f=.. c=.. s=.. a=.. sp=.. p=.. fm=..>IDLE ON", before its "\r".
QString timeDisplayCommand(const Attributes &attributes, int timeFormat);

// What a line that confirmed one of the editor's commands says; a line that confirmed nothing
// says nothing (Ignored), whatever words it holds.
struct DefaultReply
{
    enum class Kind {
        Ignored,
        Done, // "done": the sign took the message or the time display
        TimeStatus, // the answer to TIME_STATUS
        DefaultUploaded, // "default msg": the sign took the message
        DefaultDeleted, // the answer to "<del id=def>"
        Record, // the sign's default-message record, the answer to DOWNLOAD_DEFAULT_MSG
    };
    Kind kind = Kind::Ignored;
    bool timeDisplayOn = false; // TimeStatus
    DefaultMessageRecord record;
};
DefaultReply parseDefaultReply(const SignAnswer &answer);
// The test-message window's reading of the same answers: only Done, Record or Ignored.
DefaultReply parseTestReply(const SignAnswer &answer);

} // namespace tavrin::protocol
