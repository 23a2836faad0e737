#pragma once

#include "Console.h"

#include <QStringList>

namespace tavrin::cli {

// Runs one command line, "COMMAND [options]" without the program's name, and returns the
// exit status.
int runCommandLine(const QStringList &arguments, Console &console);

} // namespace tavrin::cli
