#include "CommandLine.h"
#include "Console.h"
#include "TavrinVersion.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    tavrin::cli::holdClosedStandardStreams();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavrin-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAVRIN_VERSION_STRING));

    tavrin::cli::Console console = tavrin::cli::Console::standard();
    return tavrin::cli::runCommandLine(QCoreApplication::arguments().mid(1), console);
}
