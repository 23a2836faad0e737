#pragma once

#include "SignState.h"

#include <QString>

namespace tavrin::signsim {

// The answer to "DOWNLOAD_ALL". An empty build stands for firmware that predates build
// numbers: such a sign sends the bare model as head, without echoing the command.
QString configurationLine(const SignState &state, const QString &model, const QString &build);

// The answer to "DOWNLOAD_DEFAULT_MSG".
QString defaultMessageRecord(const SignState &state, const QString &model);

} // namespace tavrin::signsim
