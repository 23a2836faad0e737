// The commands themselves: each finds or reads the sign through SignSession, then does its
// part with the same functions the windows use.
#include "Verbs.h"

#include "Interruption.h"
#include "Report.h"
#include "SignExchange.h"
#include "SignSession.h"
#include "TestMessageBody.h"

#include "ClockCommand.h"
#include "ConfigFile.h"
#include "DefaultMessageProtocol.h"
#include "MainFile.h"
#include "MessageCodes.h"
#include "PortMap.h"
#include "UploadProgress.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>

namespace tavrin::cli {

namespace {

void printJson(Console &console, const QJsonDocument &document)
{
    console.printBytes(document.toJson(QJsonDocument::Indented));
}

// A failed read as a command line tells it: the file, what is wrong with it and how much
// was taken, without the window's error number.
void tellReadFailure(const QString &path, const storage::ReadResult &result, Console &console)
{
    console.error(path + QStringLiteral(": ") + terminalText(result.description));
    if (!result.notice.isEmpty())
        console.error(path + QStringLiteral(": ") + terminalText(result.notice));
}

// Reads a .led file into state and store as the window's "&Open" does.
bool readFile(const QString &path, core::MainState &state, core::DefaultMessageStore &store,
              Console &console)
{
    const storage::ReadResult result = core::readConfigFile(path, state, store);
    if (!result.ok) {
        tellReadFailure(path, result, console);
        return false;
    }
    if (!result.notice.isEmpty())
        console.error(path + QStringLiteral(": ") + terminalText(result.notice));
    return true;
}

// A .led file as write checks it before the port is touched.
struct CheckedFile
{
    core::MainState state;
    core::DefaultMessageStore store;
};

// The file on its own: a file with no setting or one cut short is refused, its positions are
// checked against the lists of the model it was saved from, its timeouts as "Upload to Sign"
// checks them, its default message for characters the line cannot carry.
std::optional<CheckedFile> checkedFile(const QString &path, Console &console)
{
    core::MainState modelOnly;
    core::DefaultMessageStore ignored;
    core::readConfigFile(path, modelOnly, ignored); // the Model: line comes first

    CheckedFile file;
    file.state.profile = vocab::mainProfile(modelOnly.modelLabel);
    // A row the file leaves out keeps the sign's timeout, which is always a number.
    for (protocol::PriorityRow &row : file.state.config.rows)
        row.timeout = QStringLiteral("0");
    const storage::ReadResult result = core::readConfigFile(path, file.state, file.store);
    if (!result.ok) {
        tellReadFailure(path, result, console);
        return std::nullopt;
    }
    QString problem;
    if (!result.anySetting)
        problem = QStringLiteral("holds none of the keys of a configuration file; nothing was "
                                 "sent.");
    else if (!result.cutLine.isEmpty())
        problem = QStringLiteral("the file ends inside ") + result.cutLine
            + QStringLiteral(", which may be cut short; nothing was sent.");
    else if (const auto timeout = protocol::timeoutProblem(file.state.config))
        problem = *timeout;
    else
        problem
            = protocol::unsendableCharacterText(protocol::defaultMessageUpload(file.store.message));
    if (!problem.isEmpty()) {
        console.error(path + QStringLiteral(": ") + problem);
        return std::nullopt;
    }
    return file;
}

// What write sends after the configuration: the file's default message when it holds one
// that the sign does not (any it holds with --force).
std::optional<protocol::ExchangeItem> defaultMessageItem(const protocol::DefaultMessage &wanted,
                                                         const SignSession &session, bool force)
{
    if (wanted.text.isEmpty() || !session.signDefaultMessage())
        return std::nullopt;
    if (!force
        && protocol::comparableDefaultMessage(wanted)
            == protocol::comparableDefaultMessage(*session.signDefaultMessage()))
        return std::nullopt;
    return protocol::ExchangeItem { QStringLiteral("Default message"),
                                    { { protocol::defaultMessageUpload(wanted) } } };
}

// The answer to a command sent on a port of its own: success only when the sign confirmed it.
ExitStatus answerOf(const ExchangeResult &result, int portNumber, Console &console)
{
    if (!result.opened) {
        console.error(portFailureText(portNumber, result.opened.fullText()));
        return ExitStatus::PortFailed;
    }
    const QString port = QStringLiteral("COM %1: ").arg(portNumber);
    if (!result.connected) { // a network port fails to open only once it has tried
        console.error(portFailureText(portNumber, result.outcome.lostReason));
        return ExitStatus::PortFailed;
    }
    if (!result.outcome.lostReason.isEmpty()) {
        console.error(
            terminalText(link::connectionLostText(portNumber, result.outcome.lostReason)));
        return ExitStatus::SignFailed;
    }
    switch (result.outcome.results.value(0, protocol::ItemResult::Unconfirmed)) {
    case protocol::ItemResult::Confirmed:
        return ExitStatus::Success;
    case protocol::ItemResult::Refused:
        console.error(port + QStringLiteral("the sign refused the command."));
        return ExitStatus::SignFailed;
    case protocol::ItemResult::Unconfirmed:
    case protocol::ItemResult::Lost:
        break;
    }
    console.error(result.lastLine.isEmpty()
                      ? QString(port + QStringLiteral("the sign did not answer."))
                      : port + QStringLiteral("the sign did not confirm the command; it answered: ")
                          + terminalText(result.lastLine).trimmed());
    return ExitStatus::SignFailed;
}

} // namespace

ExitStatus runPorts(const Request &request, Console &console)
{
    const QList<PortReport> ports = portReports();
    if (request.json) {
        QJsonArray array;
        for (const PortReport &port : ports)
            array.append(portJson(port));
        printJson(console, QJsonDocument(array));
    } else {
        console.print(portTable(ports));
    }
    return ExitStatus::Success;
}

// A site survey: every port probed at once, each sign listed.
ExitStatus runSurvey(const Request &request, Console &console)
{
    console.progress(QStringLiteral("Probing COM 1 to COM %1...").arg(vocab::kPortCount));
    const QList<SignReport> signs = surveySigns();
    if (request.json) {
        QJsonArray array;
        for (const SignReport &sign : signs)
            array.append(signJson(sign));
        printJson(console, QJsonDocument(array));
    } else if (!signs.isEmpty()) {
        console.print(signTable(signs));
    }
    if (!signs.isEmpty())
        return ExitStatus::Success;
    console.error(QStringLiteral("No sign answered on COM 1 to COM %1.").arg(vocab::kPortCount));
    return ExitStatus::SignFailed;
}

ExitStatus runFind(const Request &request, Console &console)
{
    if (request.all)
        return runSurvey(request, console);
    SignSession session(console);
    if (const ExitStatus status = session.connectSign(std::nullopt); status != ExitStatus::Success)
        return status;
    const QString model = session.state().modelLabel;
    if (request.json) {
        printJson(console,
                  QJsonDocument(QJsonObject {
                      { QStringLiteral("port"), session.portNumber() },
                      { QStringLiteral("device"), link::deviceForPort(session.portNumber()) },
                      { QStringLiteral("model"), model },
                  }));
    } else {
        console.print(QStringLiteral("COM %1 %2").arg(session.portNumber()).arg(model));
    }
    return ExitStatus::Success;
}

ExitStatus runRead(const Request &request, Console &console)
{
    SignSession session(console);
    if (const ExitStatus status = session.connectSign(request.port); status != ExitStatus::Success)
        return status;
    if (const ExitStatus status = session.readDefaultMessage(); status != ExitStatus::Success)
        return status;
    const protocol::DefaultMessage &message = session.controller().defaultMessage().message;
    if (request.output == QLatin1String("-")) {
        console.printBytes(storage::configurationBytes(
            core::savedSettings(session.state(), session.controller().defaultMessage())));
        return ExitStatus::Success;
    }
    if (!request.output.isEmpty()) {
        // The window's own save: a failed one leaves no file, or the old one, behind.
        const storage::SaveResult saved = core::saveConfiguration(
            request.output, session.state(), session.controller().defaultMessage());
        if (!saved) {
            console.error(request.output + QStringLiteral(": ") + saved.reason);
            return ExitStatus::FileFailed;
        }
        if (!request.json)
            return ExitStatus::Success;
    }
    if (request.json)
        printJson(console,
                  QJsonDocument(configurationJson(session.state(), message, session.portNumber())));
    else
        console.print(configurationTable(session.state(), message, session.portNumber()));
    return ExitStatus::Success;
}

ExitStatus runWrite(const Request &request, Console &console)
{
    const QString path = request.arguments.value(0);
    const std::optional<CheckedFile> file = checkedFile(path, console);
    if (!file)
        return ExitStatus::Usage;

    SignSession session(console);
    if (const ExitStatus status = session.connectSign(request.port); status != ExitStatus::Success)
        return status;
    const int portIndex = session.state().portIndex;
    const QString signModel = session.state().modelNumber;
    // The file's list positions mean its own model's entries. Its Model: line is the label
    // the window showed, which an older firmware fills with more than the model.
    const QString fileModel = file->state.modelLabel;
    if (!fileModel.isEmpty() && fileModel != signModel && fileModel != session.state().modelLabel
        && !request.anyModel) {
        console.error(QStringLiteral("%1 was saved from a %2 sign; the sign on COM %3 is a %4. "
                                     "Nothing was sent; --any-model sends it all the same.")
                          .arg(path, fileModel)
                          .arg(portIndex + 1)
                          .arg(signModel));
        return ExitStatus::Usage;
    }
    // The sign's default message is only needed, and only asked for, when the file holds one.
    if (!file->store.message.text.isEmpty()) {
        if (const ExitStatus status = session.readDefaultMessage(); status != ExitStatus::Success)
            return status;
    }

    // Open the file over what the sign holds, as the window does after a download; what the
    // file leaves out keeps the sign's value and is not sent.
    core::MainState state = session.state();
    core::DefaultMessageStore store;
    if (!readFile(path, state, store, console))
        return ExitStatus::Usage;
    state.portIndex = portIndex; // the file names the port it was saved from, not this sign's
    session.controller().setState(state);
    const auto defaultMessage = defaultMessageItem(store.message, session, request.force);

    QStringList plan = core::uploadPlan(state, request.force);
    if (defaultMessage)
        plan << defaultMessage->commands.value(0).text;
    if (!request.dryRun) {
        Interruption interruption([&session](bool terminated) { session.interrupt(terminated); });
        return session.upload(request.force, defaultMessage);
    }
    for (const QString &command : plan)
        console.print(visibleCommand(command));
    console.note(plan.isEmpty() ? QStringLiteral("Nothing to Upload")
                                : QStringLiteral("Would send %1 commands to COM %2.")
                                      .arg(plan.size())
                                      .arg(portIndex + 1));
    return ExitStatus::Success;
}

ExitStatus runSend(const Request &request, Console &console)
{
    const QString text = request.arguments.value(0);
    if (const QString problem = protocol::unsendableCharacterText(text); !problem.isEmpty()) {
        console.error(problem);
        return ExitStatus::Usage;
    }
    // The message takes the priority's settings as the sign has them, so the sign is read first.
    SignSession session(console);
    if (const ExitStatus status = session.connectSign(request.port); status != ExitStatus::Success)
        return status;
    // Built as the test-message window builds the same text typed into it.
    const QString command = protocol::typedTestMessageCommand(
        request.messageId, session.state().config.rows[size_t(request.priority)], text,
        vocab::testMessageProfile(session.state().modelNumber));
    console.progress(QStringLiteral("Sending ") + visibleCommand(command));
    const ExchangeResult result
        = exchangeCommand(session.portNumber(), QStringLiteral("Test message"), command);
    if (const ExitStatus status = answerOf(result, session.portNumber(), console);
        status != ExitStatus::Success)
        return status;
    console.note(QStringLiteral("Upload Successfull"));
    return ExitStatus::Success;
}

ExitStatus runClock(const Request &request, Console &console)
{
    SignSession session(console);
    if (const ExitStatus status = session.connectSign(request.port); status != ExitStatus::Success)
        return status;
    const QDateTime now = QDateTime::currentDateTime();
    const ExchangeResult result = exchangeCommand(session.portNumber(), QStringLiteral("Clock"),
                                                  protocol::clockCommand(now));
    if (const ExitStatus status = answerOf(result, session.portNumber(), console);
        status != ExitStatus::Success)
        return status;
    console.note(QStringLiteral("Clock of the sign on COM %1 set to %2.")
                     .arg(session.portNumber())
                     .arg(now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
    return ExitStatus::Success;
}

ExitStatus runFactoryReset(const Request &request, Console &console)
{
    if (!request.yes) {
        console.error(QStringLiteral("factory-reset deletes every setting on the sign; add --yes "
                                     "to go ahead."));
        return ExitStatus::Usage;
    }
    SignSession session(console);
    if (const ExitStatus status = session.connectSign(request.port); status != ExitStatus::Success)
        return status;
    return session.factoryReset();
}

} // namespace tavrin::cli
