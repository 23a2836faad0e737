#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

namespace tavrin::signsim {

// The six attribute codes a default message, a time display and a priority row share.
struct MessageAttributes
{
    int font = 0;
    int color = 0;
    int style = 0;
    int alignment = 0;
    int speed = 0;
    int pause = 0;
    friend bool operator==(const MessageAttributes &, const MessageAttributes &) = default;
};

struct PriorityProfile
{
    MessageAttributes attributes;
    int beep = 0;
    int timeoutSeconds = 0;
    friend bool operator==(const PriorityProfile &, const PriorityProfile &) = default;
};

struct LinkSlot
{
    QStringList capcodes; // empty when the link ID is unused
    int priority = 0;
    friend bool operator==(const LinkSlot &, const LinkSlot &) = default;
};

struct DefaultMessage
{
    QString text; // line breaks as character 170, time codes as 171-178
    MessageAttributes attributes;
    friend bool operator==(const DefaultMessage &, const DefaultMessage &) = default;
};

struct TimeDisplay
{
    bool on = false;
    MessageAttributes attributes;
    int format = 0;
    friend bool operator==(const TimeDisplay &, const TimeDisplay &) = default;
};

inline constexpr int kPriorityCount = 5;
inline constexpr int kLinkIdCount = 8;
inline constexpr int kLinkEntryCount = 16; // capcode slots in the configuration line
inline constexpr QChar kLineBreakChar { 170 };
inline constexpr int kTimeCodeBase = 171; // "$T0" is stored as 171, "$T7" as 178

// Everything a sign remembers.
struct SignState
{
    std::array<PriorityProfile, kPriorityCount> priorities;
    std::array<LinkSlot, kLinkIdCount> links;
    bool autoId = true;
    QString userCommand;
    DefaultMessage defaultMessage;
    TimeDisplay timeDisplay;
    qint64 clockOffsetMs = 0; // sign clock minus system clock

    // The settings a sign of this model leaves the factory with.
    static SignState factory(const QString &model);

    int capcodeCount() const;
    QDateTime clock(const QDateTime &systemNow) const { return systemNow.addMSecs(clockOffsetMs); }

    friend bool operator==(const SignState &, const SignState &) = default;
};

} // namespace tavrin::signsim
