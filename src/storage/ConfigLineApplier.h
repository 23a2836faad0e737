#pragma once

#include "ConfigFileReader.h"
#include "ConfigLine.h"

#include <QString>

#include <optional>

namespace tavrin::storage {

// Why a line could not be applied: a ReadErrorNumber and the line and value it concerns.
struct ReadError
{
    int number = 0;
    QString description;
};

// Applies one keyed line of a .led file to settings. The first failing value ends it with an
// error and nothing of the line applied. tookEffect is false for a line without effect (a
// "Pri" line of the wrong length), which gives neither error nor change.
std::optional<ReadError> applyConfigLine(int lineNumber, const ConfigLine &line,
                                         SavedSettings &settings, const vocab::MainProfile &lists,
                                         bool &tookEffect);

} // namespace tavrin::storage
