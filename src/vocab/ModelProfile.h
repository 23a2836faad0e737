#pragma once

#include "Vocabulary.h"

#include <QString>

#include <array>
#include <optional>

namespace tavrin::vocab {

// The model names that change behaviour; compared exactly (case and length count).
inline const QString kModelKR4410 = QStringLiteral("KR4410");
inline const QString kModelTM207 = QStringLiteral("TM207");
inline const QString kModelVX903 = QStringLiteral("VX903");

// A window's attribute lists for one sign model, by Attribute; empty where it has none.
struct AttributeLists
{
    std::array<Table, kAttributes.size()> lists {};

    Table vocabulary(Attribute attribute) const { return lists[size_t(attribute)]; }
};

// The lists of the main window's priority grid for one sign model. The window places its
// columns by vx903: the VX903's effect names are longer.
struct MainProfile : AttributeLists
{
    bool vx903 = false;
    bool speedAndAlignmentEnabled = true;
};
MainProfile mainProfile(const QString &model);

// Lists and time controls of the test-message window; the window places its lists by vx903.
struct TestMessageProfile : AttributeLists
{
    bool vx903 = false;
    bool timeControlsVisible = true; // Label8, TimeFormat, InsertTime
    bool speedAndAlignmentEnabled = true;
    int timeFormatCount = 0; // entries appended to TimeFormat
    int timeFormatSelection = -1; // selected after filling
};
TestMessageProfile testMessageProfile(const QString &model);

// The default-message window tells four cases apart; where a step leaves a control alone
// the field is empty (std::nullopt) and the control keeps its design state. The window
// places its lists by vx903.
struct DefaultMessageProfile : AttributeLists
{
    bool vx903 = false;
    std::optional<bool> insertTimeVisible;
    std::optional<bool> timeFormatVisible; // Label8 and TimeFormat
    std::optional<bool> timeOnIdleVisible; // Label9, TimeOnIdle and TimeDisplayStatus
    bool speedAndAlignmentDisabled = false;
    // The lists stay empty for models other than the three named ones; Beep has none.
};
DefaultMessageProfile defaultMessageProfile(const QString &model);

// Number of time formats the default-message window lists after its profile: the four times,
// and the four dates unless the main window's model label reads VX903.
int defaultMessageTimeFormatCount(const QString &modelLabel);

} // namespace tavrin::vocab
