#pragma once

#include "Console.h"
#include "ExitStatus.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tavrin::cli {

// What one command was asked to do, its options already checked.
struct Request
{
    std::optional<int> port; // COM k; none: search as the window does
    bool json = false;
    QString output; // read -o
    bool force = false;
    bool dryRun = false;
    int messageId = 0;
    int priority = 0;
    bool yes = false;
    bool anyModel = false; // write: a file saved from another model is sent too
    bool all = false; // find: every port with a sign, not only the first
    QStringList arguments; // the command's own argument: write's file, send's text
};

ExitStatus runPorts(const Request &request, Console &console);
ExitStatus runFind(const Request &request, Console &console);
ExitStatus runRead(const Request &request, Console &console);
ExitStatus runWrite(const Request &request, Console &console);
ExitStatus runSend(const Request &request, Console &console);
ExitStatus runClock(const Request &request, Console &console);
ExitStatus runFactoryReset(const Request &request, Console &console);

} // namespace tavrin::cli
