#pragma once

#include "Vocabulary.h"

#include <QString>

#include <optional>

namespace tavrin::vocab {

// The model names that change behaviour; compared exactly (case and length count).
inline const QString kModelKR4410 = QStringLiteral("KR4410");
inline const QString kModelTM207 = QStringLiteral("TM207");
inline const QString kModelVX903 = QStringLiteral("VX903");

// The lists of the main window's priority grid for one sign model. The window places its
// columns by vx903: the VX903's effect names are longer.
struct MainProfile
{
    bool vx903 = false;
    Table font, color, style, alignment, speed, pause, beep;
    bool speedAndAlignmentEnabled = true;

    Table vocabulary(Attribute attribute) const;
};
MainProfile mainProfile(const QString &model);

// Lists and time controls of the test-message window; the window places its lists by vx903.
struct TestMessageProfile
{
    bool vx903 = false;
    Table font, color, style, alignment, speed, pause, beep;
    bool timeControlsVisible = true; // Label8, TimeFormat, InsertTime
    bool speedAndAlignmentEnabled = true;
    int timeFormatCount = 0; // entries appended to TimeFormat
    int timeFormatSelection = -1; // selected after filling

    Table vocabulary(Attribute attribute) const;
};
TestMessageProfile testMessageProfile(const QString &model);

// The default-message window tells four cases apart; where a step leaves a control alone
// the field is empty (std::nullopt) and the control keeps its design state. The window
// places its lists by vx903.
struct DefaultMessageProfile
{
    bool vx903 = false;
    std::optional<bool> insertTimeVisible;
    std::optional<bool> timeFormatVisible; // Label8 and TimeFormat
    std::optional<bool> timeOnIdleVisible; // Label9, TimeOnIdle and TimeDisplayStatus
    bool speedAndAlignmentDisabled = false;
    // Empty tables leave the lists empty (models other than the three named ones).
    Table font, color, style, pause, speed, alignment;

    Table vocabulary(Attribute attribute) const; // Beep has no list here: empty
};
DefaultMessageProfile defaultMessageProfile(const QString &model);

// Number of time formats the default-message window lists after its profile: the four times,
// and the four dates unless the main window's model label reads VX903.
int defaultMessageTimeFormatCount(const QString &modelLabel);

} // namespace tavrin::vocab
