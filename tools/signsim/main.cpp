#include "PtyPort.h"
#include "SavedConfiguration.h"
#include "SignSimulator.h"
#include "TerminationWatcher.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#ifdef __linux__
#include <csignal>
#include <sys/prctl.h>
#endif

using namespace tavrin::signsim;

namespace {

// Text that the sign sends in its reply head must not break the record apart.
bool fitsInHead(const QString &text)
{
    for (const QChar c : text) {
        if (c == u':' || c == u',' || c.unicode() < 0x20 || c.unicode() > 0xff)
            return false;
    }
    return true;
}

void warn(const QString &message)
{
    std::fprintf(stderr, "tavrin-signsim: %s\n", qPrintable(message));
}

int fail(const QString &message)
{
    warn(message);
    return 2;
}

// The sign after the file's commands; a command the sign rejects leaves its factory setting.
SignState stateFromFile(const QString &path, const SavedConfiguration &saved,
                        const SimulatorOptions &options)
{
    SignInterpreter sign(options.model, options.build);
    for (const QString &command : saved.commands) {
        if (sign.handle(command) == QStringList { QStringLiteral("error") })
            warn(path + QStringLiteral(": the sign rejects ") + command
                 + QStringLiteral(", so it keeps its factory setting there"));
    }
    if (!saved.notice.isEmpty())
        warn(path + QStringLiteral(": ") + saved.notice);
    return sign.state();
}

// A symlink at path to the device; an old symlink there is replaced, anything else kept.
bool makeLink(const QString &path, const QString &device, QString *error)
{
    const QFileInfo existing(path);
    if (existing.isSymLink()) {
        if (!QFile::remove(path)) {
            *error = QStringLiteral("cannot replace the link ") + path;
            return false;
        }
    } else if (existing.exists()) {
        *error = path + QStringLiteral(" exists and is not a symbolic link");
        return false;
    }
    if (!QFile::link(device, path)) {
        *error = QStringLiteral("cannot create the link ") + path;
        return false;
    }
    return true;
}

// The simulator's command-line options.
struct CommandLine
{
    QCommandLineOption model { QStringLiteral("model"),
                               QStringLiteral("Sign model named in replies."), QStringLiteral("M"),
                               QStringLiteral("KR4410") };
    QCommandLineOption build { QStringLiteral("build"),
                               QStringLiteral(
                                   "Firmware build in the configuration reply; empty for none."),
                               QStringLiteral("N"), QStringLiteral("5") };
    QCommandLineOption link { QStringLiteral("link"),
                              QStringLiteral("Also make a symbolic link to the device."),
                              QStringLiteral("PATH") };
    QCommandLineOption noPace { QStringLiteral("no-pace"),
                                QStringLiteral("Send replies at once, not at 9600 baud.") };
    QCommandLineOption crlf { QStringLiteral("crlf"),
                              QStringLiteral("End replies with CR LF instead of LF.") };
    QCommandLineOption silent { QStringLiteral("silent"),
                                QStringLiteral("Answer nothing (commands are still logged).") };
    QCommandLineOption stream {
        QStringLiteral("stream"),
        QStringLiteral("Never end a line: each reply goes out without its line feed, and "
                       "filler follows it for as long as the port stays open.")
    };
    QCommandLineOption config {
        QStringLiteral("config"),
        QStringLiteral("Start from a configuration file saved by Tavrin (.led): its priority "
                       "rows, links, ID mode and default message. The model is the file's "
                       "unless --model is given."),
        QStringLiteral("FILE")
    };
    // A sign that goes wrong on purpose, for fault tests and for trying a client by hand.
    QList<QCommandLineOption> misbehaviour {
        { QStringLiteral("answer"),
          QStringLiteral("Answer the Nth command with LINE alone and do not apply it (a misheard "
                         "command). LINE may hold \\xHH and \\\\ escapes; the line end is "
                         "added. Repeatable; several LINEs for one N go out in order."),
          QStringLiteral("N:LINE") },
        { QStringLiteral("answer-every"),
          QStringLiteral("Apply every command but send only the replies of commands N, 2N, ... "
                         "(a command that --answer or --refuse picks is answered anyway)."),
          QStringLiteral("N") },
        { QStringLiteral("refuse"),
          QStringLiteral("Answer \"error\" to a command and do not apply it: the Nth command, "
                         "or one starting with TEXT (leading line feeds aside). Repeatable."),
          QStringLiteral("N|TEXT") },
        { QStringLiteral("cut-config"),
          QStringLiteral("Cut the configuration line after its first N data fields."),
          QStringLiteral("N") },
        { QStringLiteral("die-after"),
          QStringLiteral("Apply the Nth command, log it, then exit at once with status 3 "
                         "without answering, as when power fails."),
          QStringLiteral("N") },
    };

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QStringLiteral(
            "Simulates an LED sign on a pseudo-terminal. Prints the device path, logs each "
            "command received to standard error. Ends on SIGINT, SIGTERM or SIGHUP, and when "
            "the program that started it ends. The options that make it misbehave count "
            "commands from 1 in the order received, each framed command counting, a bare CR "
            "too."));
        parser.addHelpOption();
        parser.addOptions({ model, build, config, link, noPace, crlf, silent, stream });
        parser.addOptions(misbehaviour);
    }

    // The simulator's options, or nothing with *error set.
    std::optional<SimulatorOptions> read(const QCommandLineParser &parser, QString *error) const
    {
        SimulatorOptions options;
        options.model = parser.value(model);
        options.build = parser.value(build);
        options.paced = !parser.isSet(noPace);
        options.crlf = parser.isSet(crlf);
        options.silent = parser.isSet(silent);
        options.stream = parser.isSet(stream);
        for (const QCommandLineOption &option : misbehaviour) {
            const QString name = option.names().constFirst();
            for (const QString &value : parser.values(option)) {
                if (!options.misbehaviour.set(name, value, error)) {
                    *error = QStringLiteral("--") + name + QStringLiteral(": ") + *error;
                    return std::nullopt;
                }
            }
        }
        std::optional<SavedConfiguration> saved;
        const QString configPath = parser.value(config);
        if (!configPath.isEmpty()) {
            saved = readSavedConfiguration(configPath, error);
            if (!saved) {
                *error = QStringLiteral("--config: ") + *error;
                return std::nullopt;
            }
            if (!parser.isSet(model) && !saved->model.isEmpty())
                options.model = saved->model;
        }
        if (!fitsInHead(options.model) || !fitsInHead(options.build)) {
            *error = QStringLiteral("model and build must be Latin-1 text without \":\" or \",\"");
            return std::nullopt;
        }
        if (saved)
            options.state = stateFromFile(configPath, *saved, options);
        return options;
    }
};

} // namespace

int main(int argc, char *argv[])
{
#ifdef __linux__
    // A test that dies without stopping its simulator must not leave it running.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavrin-signsim"));

    const CommandLine commandLine;
    QCommandLineParser parser;
    commandLine.addTo(parser);
    parser.process(app);
    QString error;
    const std::optional<SimulatorOptions> options = commandLine.read(parser, &error);
    if (!options)
        return fail(error);

    TerminationWatcher watcher; // before the link, which only a clean exit removes
    QObject::connect(&watcher, &TerminationWatcher::terminationRequested, &app,
                     &QCoreApplication::quit);

    PtyPort port;
    SignSimulator simulator(port, *options);
    if (!port.open(&error))
        return fail(error);

    const QString linkPath = parser.value(commandLine.link);
    if (!linkPath.isEmpty() && !makeLink(linkPath, port.devicePath(), &error))
        return fail(error);

    std::printf("%s\n", qPrintable(port.devicePath()));
    std::fflush(stdout);

    const int status = app.exec();

    if (!linkPath.isEmpty() && QFileInfo(linkPath).symLinkTarget() == port.devicePath())
        QFile::remove(linkPath);
    return status;
}
