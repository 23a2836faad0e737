#include "SignRecords.h"

#include "ModelProfile.h"

#include <QStringList>

namespace tavrin::signsim {
namespace {

// Offsets that turn codes into character codes ('A' = 65, '0' = 48) on signs that send them.
struct CharacterOffsets
{
    int font = 0;
    int style = 0;
    int color = 0;
    int speed = 0;
    int alignment = 0;
    int pause = 0;
};
constexpr CharacterOffsets kCharacterCodes { 64, 65, 65, 48, 49, 48 };
constexpr CharacterOffsets kPlainCodes {};

constexpr int kBeepOffset = 20;
constexpr int kTimeoutUnitsPerSecond = 5;

void appendAttributes(QStringList &fields, const MessageAttributes &a, const CharacterOffsets &o)
{
    fields << QString::number(a.font + o.font) << QString::number(a.style + o.style)
           << QString::number(a.color + o.color) << QString::number(a.speed + o.speed)
           << QString::number(a.alignment + o.alignment) << QString::number(a.pause + o.pause);
}

} // namespace

QString configurationLine(const SignState &state, const QString &model, const QString &build)
{
    const bool characterCodes = model == vocab::kModelKR4410 || model == vocab::kModelTM207;
    const CharacterOffsets &offsets = characterCodes ? kCharacterCodes : kPlainCodes;

    QStringList fields;
    for (const PriorityProfile &profile : state.priorities) {
        appendAttributes(fields, profile.attributes, offsets);
        fields << QString::number(profile.beep + kBeepOffset)
               << QString::number(profile.timeoutSeconds * kTimeoutUnitsPerSecond);
    }
    int entries = 0;
    for (int id = 0; id < kLinkIdCount; ++id) {
        const LinkSlot &slot = state.links[id];
        for (const QString &capcode : slot.capcodes) {
            fields << QString::number(id) << capcode << QString::number(slot.priority);
            ++entries;
        }
    }
    for (; entries < kLinkEntryCount; ++entries)
        fields << QStringLiteral("0") << QStringLiteral("0") << QStringLiteral("0");
    fields << (state.autoId ? QStringLiteral("1") : QStringLiteral("0")) << state.userCommand;

    const QString head
        = build.isEmpty() ? model : QStringLiteral("DOWNLOAD_ALL") + model + u',' + build;
    return head + u':' + fields.join(u',');
}

QString defaultMessageRecord(const SignState &state, const QString &model)
{
    // Unlike the configuration line, only the KR4410 sends this record as character codes.
    const CharacterOffsets &offsets = model == vocab::kModelKR4410 ? kCharacterCodes : kPlainCodes;
    QStringList fields;
    appendAttributes(fields, state.defaultMessage.attributes, offsets);
    fields << QStringLiteral("0") << QStringLiteral("0") << state.defaultMessage.text;
    return model + u':' + fields.join(u',');
}

} // namespace tavrin::signsim
