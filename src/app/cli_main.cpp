#include "cli/CommandLine.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavrin-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral("4.72"));

    tavrin::cli::Console console = tavrin::cli::Console::standard();
    return tavrin::cli::runCommandLine(QCoreApplication::arguments().mid(1), console);
}
