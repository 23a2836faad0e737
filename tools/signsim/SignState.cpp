#include "SignState.h"

#include "ModelProfile.h"

#include <numeric>

namespace tavrin::signsim {
namespace {

struct FactoryRow
{
    int font, color, vx903Font, vx903Color, style, alignment, speed, pause, beep, timeoutSeconds;
};

// Every code exists in the standard lists and, through the VX903 columns, in that model's.
constexpr FactoryRow kFactoryRows[kPriorityCount] = {
    { 5, 3, 6, 3, 0, 0, 2, 3, 1, 10 },   { 5, 4, 6, 4, 8, 0, 2, 3, 1, 15 },
    { 7, 5, 7, 8, 1, 2, 1, 2, 2, 20 },   { 15, 7, 19, 3, 11, 0, 2, 5, 1, 30 },
    { 15, 1, 21, 4, 2, 2, 0, 9, 2, 60 },
};

struct FactoryLink
{
    int id;
    const char *capcodes;
    int priority;
};

// Short capcodes keep the configuration line well inside the client's 400 ms window.
constexpr FactoryLink kFactoryLinks[] = {
    { 0, "123456", 0 },
    { 1, "234567,234568", 1 },
    { 3, "345678", 2 },
};

// Font 0 and colour 3 are valid in every model's default-message lists.
constexpr MessageAttributes kFactoryMessageAttributes { 0, 3, 0, 2, 2, 3 };

} // namespace

SignState SignState::factory(const QString &model)
{
    const bool vx903 = model == vocab::kModelVX903;
    SignState state;
    for (int k = 0; k < kPriorityCount; ++k) {
        const FactoryRow &row = kFactoryRows[k];
        PriorityProfile &profile = state.priorities[k];
        profile.attributes = { vx903 ? row.vx903Font : row.font,
                               vx903 ? row.vx903Color : row.color,
                               row.style,
                               row.alignment,
                               row.speed,
                               row.pause };
        profile.beep = row.beep;
        profile.timeoutSeconds = row.timeoutSeconds;
    }
    for (const FactoryLink &link : kFactoryLinks) {
        state.links[link.id].capcodes = QString::fromLatin1(link.capcodes).split(QLatin1Char(','));
        state.links[link.id].priority = link.priority;
    }
    state.autoId = true;
    state.userCommand = QStringLiteral("BRIGHT 8");
    state.defaultMessage.text
        = QStringLiteral("WELCOME") + kLineBreakChar + QChar(kTimeCodeBase + 2); // <hh:mm>
    state.defaultMessage.attributes = kFactoryMessageAttributes;
    state.timeDisplay.attributes = kFactoryMessageAttributes;
    return state;
}

int SignState::capcodeCount() const
{
    return std::accumulate(links.begin(), links.end(), 0, [](int sum, const LinkSlot &slot) {
        return sum + int(slot.capcodes.size());
    });
}

} // namespace tavrin::signsim
