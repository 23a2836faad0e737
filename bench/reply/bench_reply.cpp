// Times parseSignReply on the full configuration line of bench/data/full.led, against the
// least any reader does with it (split at ":" and ",") and against the time the line takes
// to arrive at 9600 baud.
#include "BenchSupport.h"

#include "MainController.h"
#include "ReplyInterpreter.h"

#include <QCoreApplication>

using namespace tavrin;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString line = bench::fullConfigurationLine();

    // The window's state as start-up leaves it: lists filled, nothing selected.
    core::MainController controller;
    controller.startPortSearch();
    controller.stopPortSearch();
    const core::MainState start = controller.state();

    const core::ReplyOutcome outcome = core::parseSignReply(line, start, true);
    if (outcome.state.modelLabel.isEmpty() || outcome.state.config.links[7].capcode.isEmpty())
        bench::fail(QStringLiteral("the configuration line was not read: ") + line);

    qsizetype sink = 0;
    const double parse = bench::medianMicroseconds(
        [&] { sink += core::parseSignReply(line, start, true).state.config.userCommand.size(); });
    const double split = bench::medianMicroseconds([&] {
        const QStringList parts = line.split(u':');
        sink += parts.value(1).split(u',').size();
    });
    const QString measure
        = QStringLiteral("parseSignReply, full configuration line (%1 characters)")
              .arg(line.size());
    bench::printRow(measure, parse, QStringLiteral("us"),
                    QStringLiteral("QString split at \":\" and \",\""), split);
    bench::printRow(measure, parse, QStringLiteral("us"),
                    QStringLiteral("the line and its line feed at 9600 baud"),
                    bench::lineMilliseconds(line.size() + 1) * 1000.0);
    return sink > 0 ? 0 : 1;
}
