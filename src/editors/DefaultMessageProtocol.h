#pragma once

#include "DefaultMessageRecord.h"

#include <QString>

#include <optional>

namespace tavrin::editors {

// What the default-message editor writes to the sign and how it reads the answers.

inline const QString kDownloadDefaultMsgCommand = QStringLiteral("DOWNLOAD_DEFAULT_MSG\r");
inline const QString kTimeStatusCommand = QStringLiteral("TIME_STATUS\r");
inline const QString kResetCommand = QStringLiteral("RESET\r");
// The idle switches go out bare: the sign frames them without a carriage return.
inline const QString kIdleOnCommand = QStringLiteral("<TIME>IDLE ON");
inline const QString kIdleOffCommand = QStringLiteral("<TIME>IDLE OFF");

// The six list indexes a default message carries; -1 where a list has no selection.
struct MessageAttributes
{
    int font = -1;
    int color = -1;
    int style = -1;
    int alignment = -1;
    int speed = -1;
    int pause = -1;
};

// The message command of an upload, before its "\r" and with time and line codes applied:
// "<del id=def>" for an empty message, "<DF f=.. c=.. s=.. a=.. sp=.. p=..>" and the text
// while the time display is off, and nothing while it is on (the sign then shows the time).
QString defaultMessageCommand(const QString &text, const MessageAttributes &attributes,
                              bool timeDisplayOn);

// "<TIME f=.. c=.. s=.. a=.. sp=.. p=.. fm=..>IDLE ON", before its "\r".
QString timeDisplayCommand(const MessageAttributes &attributes, int timeFormat);

// One reply line as handleDefaultReply tells it apart (first match wins).
struct DefaultReply
{
    enum class Kind {
        Ignored,
        Done, // the sign took an upload
        TimeStatus, // the answer to TIME_STATUS
        DefaultUploaded, // a line beginning with "default"
        Record, // the sign's default-message record
    };
    Kind kind = Kind::Ignored;
    std::optional<bool> timeDisplayOn; // TimeStatus: nothing when the line has no third part
    DefaultMessageRecord record;
};
DefaultReply parseDefaultReply(const QString &line);
// The test-message window's reading of the same replies: only Done, Record or Ignored.
DefaultReply parseTestReply(const QString &line);

} // namespace tavrin::editors
