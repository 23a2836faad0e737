#include "CommandLine.h"

#include "TestMessageCommand.h"
#include "Verbs.h"

#include "PortMap.h"
#include "SignConfig.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <array>

namespace tavrin::cli {

namespace {

const QString kProgram = QStringLiteral("tavrin-cli");

enum OptionBit : unsigned {
    kPort = 1u << 0,
    kJson = 1u << 1,
    kOutput = 1u << 2,
    kForce = 1u << 3,
    kDryRun = 1u << 4,
    kId = 1u << 5,
    kPriority = 1u << 6,
    kYes = 1u << 7,
    kQuiet = 1u << 8,
    kAnyModel = 1u << 9,
    kAll = 1u << 10,
};

struct OptionDeclaration
{
    OptionBit bit;
    const char *shortName; // nullptr: long form only
    const char *name;
    const char *valueName; // nullptr: a switch
    const char *description;
};

const std::array kOptions = {
    OptionDeclaration {
        kPort, nullptr, "port", "K",
        "The sign's port, COM K (1 to 12). Without it COM 1 to COM 12 are searched as "
        "the window does at start-up." },
    OptionDeclaration { kJson, nullptr, "json", nullptr,
                        "Print JSON for scripts instead of a table." },
    OptionDeclaration { kOutput, "o", "output", "FILE.led",
                        "Save the configuration to FILE.led as the window's Save does; nothing "
                        "is printed then unless --json is given. \"-\" writes the file's bytes "
                        "to standard output; a device or FIFO is written into, never replaced." },
    OptionDeclaration { kForce, nullptr, "force", nullptr,
                        "Send everything, as Force Upload does, not only what differs." },
    OptionDeclaration { kDryRun, nullptr, "dry-run", nullptr,
                        "Print the commands the upload would send, and send none of them." },
    OptionDeclaration { kId, nullptr, "id", "N", "Message ID, 0 to 7 (0 if not given)." },
    OptionDeclaration { kPriority, nullptr, "priority", "P",
                        "Priority whose settings the message takes, 0 to 4 (0 if not given)." },
    OptionDeclaration { kYes, nullptr, "yes", nullptr,
                        "Confirm that every setting on the sign is to be deleted." },
    OptionDeclaration { kQuiet, "q", "quiet", nullptr,
                        "Print only the results asked for and what went wrong: no progress, no "
                        "confirmations." },
    OptionDeclaration { kAll, nullptr, "all", nullptr,
                        "A site survey: probe every port at once and list each that has a sign "
                        "(port, device, model, build), not only the first." },
    OptionDeclaration { kAnyModel, nullptr, "any-model", nullptr,
                        "Send a file saved from another model too; its list positions then "
                        "mean this model's entries." },
};

struct VerbDeclaration
{
    const char *name;
    const char *argument; // the one argument the command takes, or nullptr
    const char *argumentDescription;
    const char *summary; // one line of the command list
    const char *description; // the command's own help
    unsigned options;
    ExitStatus (*run)(const Request &, Console &);
};

const std::array kVerbs = {
    VerbDeclaration {
        "ports", nullptr, nullptr, "List the ports with their devices and states.",
        "List COM 1 to COM 12 as the window's port list maps them, each with its device "
        "and state: absent, busy, no permission or free. Nothing is sent.",
        kQuiet | kJson, runPorts },
    VerbDeclaration {
        "find", nullptr, nullptr, "Search the ports for a sign.",
        "Search COM 1 to COM 12 for a sign as the window does at start-up, and print the "
        "port and the model of the first that answers. With --all, list every port that has "
        "a sign; --json then prints an array of {port, device, model, build}.",
        kQuiet | kJson | kAll, runFind },
    VerbDeclaration {
        "read", nullptr, nullptr, "Read the sign's whole configuration.",
        "Read the sign's whole configuration, as Download from Sign does, and its default "
        "message, and print them, or save them as a .led file that the window opens as its "
        "own.\n\n"
        "--json prints one object: port (number), device (text), model (text), build (number, "
        "or text when the sign's is no number, null when it sends none), autoID (true or "
        "false), userCommand (text), priorities (0 to 4, each with priority, timeout in "
        "seconds, and font, color, effect, alignment, speed, pause and beep, each as {code, "
        "name}: code the list position, name its entry or null), links (0 to 7, each with id, "
        "capcodes as a list of texts, priority or null) and defaultMessage (text, with \\n "
        "for line breaks, and font, color, effect, alignment, speed and pause codes).",
        kPort | kOutput | kJson | kQuiet, runRead },
    VerbDeclaration {
        "write", "FILE.led", "A configuration file saved by the window or by read -o.",
        "Send a .led file to the sign.",
        "Read the sign, then send what differs from FILE.led (everything with --force) "
        "with the commands, order and pacing of the window's Upload to Sign, then its default "
        "message when it differs. An empty DefaultMsg: line leaves the sign's default message "
        "alone. A file that holds no setting, is cut short, or was saved from another model "
        "is refused before anything is sent.",
        kPort | kForce | kDryRun | kAnyModel | kQuiet, runWrite },
    VerbDeclaration {
        "send", "TEXT",
        "The message. Time placeholders such as <hh:mm> or <mm/dd/yyyy> show the sign's "
        "clock; line breaks start new lines.",
        "Send a test message.",
        "Send a test message with the settings of a priority as the sign has them, built as "
        "the test-message window builds text typed into it. A text that begins with \"-\" "
        "goes after \"--\": tavrin-cli send --port 2 -- '-5 C outside'.",
        kPort | kId | kPriority | kQuiet, runSend },
    VerbDeclaration { "clock", nullptr, nullptr, "Set the sign's clock from this computer's.",
                      "Set the sign's clock from this computer's clock.", kPort | kQuiet,
                      runClock },
    VerbDeclaration {
        "factory-reset", nullptr, nullptr, "Reset the sign to its factory defaults.",
        "Load the sign's factory defaults, deleting every setting it holds, then read it "
        "again.",
        kPort | kYes | kQuiet, runFactoryReset },
};

const char kExitStatusHelp[]
    = "Exit status:\n"
      "  0    success: the sign confirmed every command\n"
      "  1    the sign did not answer, did not confirm, or refused (named on stderr)\n"
      "  2    usage error, or input refused before anything was sent\n"
      "  3    the port cannot be opened\n"
      "  4    the output file or standard output cannot be written\n"
      "  130  write interrupted (SIGINT; 143 for SIGTERM) after the item on the line";

const VerbDeclaration *findVerb(const QString &name)
{
    for (const VerbDeclaration &verb : kVerbs) {
        if (name == QLatin1String(verb.name))
            return &verb;
    }
    return nullptr;
}

// Words on lines of at most width characters, for an 80-column terminal; line breaks stay.
QString wrapped(const QString &text, qsizetype width = 79)
{
    QStringList paragraphs;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QString result;
        qsizetype lineLength = 0;
        for (const QString &word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (lineLength > 0 && lineLength + 1 + word.size() > width) {
                result += QLatin1Char('\n');
                lineLength = 0;
            } else if (lineLength > 0) {
                result += QLatin1Char(' ');
                ++lineLength;
            }
            result += word;
            lineLength += word.size();
        }
        paragraphs << result;
    }
    return paragraphs.join(QLatin1Char('\n'));
}

QString generalHelp()
{
    QString text = QStringLiteral("Usage: tavrin-cli COMMAND [options]\n\n"
                                  "Finds, reads, writes and checks LED signs on COM 1 to COM 12 "
                                  "without a window.\n\nCommands:\n");
    for (const VerbDeclaration &verb : kVerbs) {
        const QString name = QLatin1String(verb.name)
            + (verb.argument ? QLatin1Char(' ') + QLatin1String(verb.argument) : QString());
        text += QStringLiteral("  ") + name.leftJustified(17) + QLatin1String(verb.summary)
            + QLatin1Char('\n');
    }
    return text
        + QStringLiteral("\nOptions:\n  -h, --help       This help.\n"
                         "  -v, --version    The program's version.\n\n"
                         "Run 'tavrin-cli COMMAND --help' for a command's options.\n\n")
        + QLatin1String(kExitStatusHelp);
}

QString verbHelp(const VerbDeclaration &verb, const QCommandLineParser &parser)
{
    QString usage = QStringLiteral("Usage: tavrin-cli ") + QLatin1String(verb.name);
    if (verb.argument)
        usage += QLatin1Char(' ') + QLatin1String(verb.argument);
    const QString qtHelp = parser.helpText();
    return usage + QStringLiteral(" [options]\n\n") + wrapped(QLatin1String(verb.description))
        + QStringLiteral("\n\n") + qtHelp.mid(qtHelp.indexOf(QLatin1String("Options:")))
        + QLatin1Char('\n') + QLatin1String(kExitStatusHelp);
}

// A whole number from low to high, or nothing.
std::optional<int> numberIn(const QString &text, int low, int high)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

ExitStatus usageError(Console &console, const VerbDeclaration &verb, const QString &text)
{
    console.error(QLatin1String(verb.name) + QStringLiteral(": ") + text);
    console.error(QStringLiteral("See 'tavrin-cli ") + QLatin1String(verb.name)
                  + QStringLiteral(" --help'."));
    return ExitStatus::Usage;
}

ExitStatus runVerb(const VerbDeclaration &verb, const QStringList &arguments, Console &console)
{
    QCommandLineParser parser;
    const QCommandLineOption help({ QStringLiteral("h"), QStringLiteral("help") },
                                  QStringLiteral("This help."));
    parser.addOption(help);
    for (const OptionDeclaration &entry : kOptions) {
        if (!(verb.options & entry.bit))
            continue;
        QStringList names { QLatin1String(entry.name) };
        if (entry.shortName)
            names.prepend(QLatin1String(entry.shortName));
        parser.addOption(
            QCommandLineOption(names, QLatin1String(entry.description),
                               entry.valueName ? QLatin1String(entry.valueName) : QString()));
    }
    if (verb.argument)
        parser.addPositionalArgument(QLatin1String(verb.argument),
                                     QLatin1String(verb.argumentDescription));

    if (!parser.parse(QStringList { kProgram } + arguments)) {
        QString text = parser.errorText();
        if (verb.argument)
            text += QStringLiteral("\nAn argument that begins with \"-\" goes after \"--\", as "
                                   "in: tavrin-cli ")
                + QLatin1String(verb.name) + QStringLiteral(" -- '-5 C'");
        return usageError(console, verb, text);
    }
    if (parser.isSet(help)) {
        console.print(verbHelp(verb, parser));
        return ExitStatus::Success;
    }

    // The option's value ("" for a switch) when it was given; nothing otherwise.
    const auto value = [&](OptionBit bit) -> std::optional<QString> {
        for (const OptionDeclaration &entry : kOptions) {
            const QString name = QLatin1String(entry.name);
            if (entry.bit == bit && (verb.options & bit) && parser.isSet(name))
                return entry.valueName ? parser.value(name) : QString();
        }
        return std::nullopt;
    };

    Request request;
    request.arguments = parser.positionalArguments();
    const qsizetype wanted = verb.argument ? 1 : 0;
    if (request.arguments.size() != wanted) {
        return usageError(console, verb,
                          wanted == 0 ? QStringLiteral("takes no argument, only options.")
                                      : QStringLiteral("takes one argument, ")
                                  + QLatin1String(verb.argument) + u'.');
    }
    if (const auto port = value(kPort)) {
        QString text = *port;
        if (text.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            text.remove(0, 3);
        request.port = numberIn(text, link::kFirstPortNumber, link::kLastPortNumber);
        if (!request.port)
            return usageError(console, verb,
                              QStringLiteral("--port takes a port number from 1 to 12, not \"")
                                  + *port + u'"');
    }
    if (const auto id = value(kId)) {
        const auto number = numberIn(*id, 0, protocol::kMessageIdCount - 1);
        if (!number)
            return usageError(console, verb,
                              QStringLiteral("--id takes 0 to 7, not \"") + *id + u'"');
        request.messageId = *number;
    }
    if (const auto priority = value(kPriority)) {
        const auto number = numberIn(*priority, 0, protocol::kRows - 1);
        if (!number)
            return usageError(console, verb,
                              QStringLiteral("--priority takes 0 to 4, not \"") + *priority + u'"');
        request.priority = *number;
    }
    request.json = value(kJson).has_value();
    request.output = value(kOutput).value_or(QString());
    request.force = value(kForce).has_value();
    request.all = value(kAll).has_value();
    request.dryRun = value(kDryRun).has_value();
    request.yes = value(kYes).has_value();
    request.anyModel = value(kAnyModel).has_value();
    console.setQuiet(value(kQuiet).has_value());
    if (request.output == QLatin1String("-") && request.json)
        return usageError(console, verb,
                          QStringLiteral("-o - and --json both print to standard output; "
                                         "choose one."));
    return verb.run(request, console);
}

} // namespace

int runCommandLine(const QStringList &arguments, Console &console)
{
    const QString first = arguments.value(0);
    if (arguments.isEmpty()) {
        console.error(QStringLiteral("a command is missing. See 'tavrin-cli --help'."));
        return exitCode(ExitStatus::Usage);
    }
    if (first == QLatin1String("-h") || first == QLatin1String("--help")
        || first == QLatin1String("help")) {
        if (const VerbDeclaration *verb = findVerb(arguments.value(1)))
            return exitCode(runVerb(*verb, { QStringLiteral("--help") }, console));
        console.print(generalHelp());
        return exitCode(console.finishOutput().isEmpty() ? ExitStatus::Success
                                                         : ExitStatus::FileFailed);
    }
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        console.print(kProgram + u' ' + QCoreApplication::applicationVersion());
        return exitCode(ExitStatus::Success);
    }
    const VerbDeclaration *verb = findVerb(first);
    if (!verb) {
        console.error(QStringLiteral("\"") + first
                      + QStringLiteral("\" is not a command. See 'tavrin-cli --help'."));
        return exitCode(ExitStatus::Usage);
    }
    const ExitStatus status = runVerb(*verb, arguments.mid(1), console);
    // A result that did not land whole is a failure, even after the sign confirmed everything.
    if (const QString failure = console.finishOutput(); !failure.isEmpty()) {
        console.error(QStringLiteral("standard output: ") + failure);
        if (status == ExitStatus::Success)
            return exitCode(ExitStatus::FileFailed);
    }
    return exitCode(status);
}

} // namespace tavrin::cli
