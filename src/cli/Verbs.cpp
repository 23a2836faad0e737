// The commands themselves: each finds or reads the sign through SignSession, then does its
// part with the same functions the windows use.
#include "Verbs.h"

#include "Interruption.h"
#include "Report.h"
#include "SignExchange.h"
#include "SignSession.h"
#include "TestMessageCommand.h"

#include "ClockCommand.h"
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

// Reads a .led file into state as the window's "&Open" does; a failed read is told in the
// window's words.
bool readFile(const QString &path, core::MainState &state, Console &console)
{
    core::DefaultMessageStore store;
    const storage::ReadResult result = core::readConfigFile(path, state, store);
    if (!result.ok) {
        console.error(path + QStringLiteral(": ") + terminalText(result.message()));
        return false;
    }
    if (!result.notice.isEmpty())
        console.error(path + QStringLiteral(": ") + terminalText(result.notice));
    return true;
}

// The file on its own, before the port is touched: its positions are checked against the
// lists of the model it was saved from, its timeouts as "Upload to Sign" checks them.
std::optional<core::MainState> checkedFile(const QString &path, Console &console)
{
    core::MainState modelOnly;
    core::DefaultMessageStore ignored;
    core::readConfigFile(path, modelOnly, ignored); // the Model: line comes first

    core::MainState state;
    state.profile = vocab::mainProfile(modelOnly.modelLabel);
    // A row the file leaves out keeps the sign's timeout, which is always a number.
    for (protocol::PriorityRow &row : state.config.rows)
        row.timeout = QStringLiteral("0");
    core::DefaultMessageStore store;
    const storage::ReadResult result = core::readConfigFile(path, state, store);
    if (!result.ok) {
        console.error(path + QStringLiteral(": ") + terminalText(result.message()));
        return std::nullopt;
    }
    if (const auto problem = protocol::timeoutProblem(state.config)) {
        console.error(path + QStringLiteral(": ") + *problem);
        return std::nullopt;
    }
    return state;
}

// The answer to a command sent on a port of its own: success only when the sign confirmed it.
ExitStatus answerOf(const ExchangeResult &result, int portNumber, Console &console)
{
    if (!result.opened) {
        console.error(link::portFailureEntry(portNumber, result.opened.fullText()));
        return ExitStatus::PortFailed;
    }
    const QString port = QStringLiteral("COM %1: ").arg(portNumber);
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

ExitStatus runFind(const Request &request, Console &console)
{
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
    if (!request.output.isEmpty()) {
        // The window's own save: a failed one leaves no file, or the old one, behind.
        if (!core::saveConfiguration(request.output, session.state(),
                                     session.controller().defaultMessage())) {
            console.error(request.output + QStringLiteral(": ") + storage::kErrorSavingFile);
            return ExitStatus::FileFailed;
        }
        if (!request.json)
            return ExitStatus::Success;
    }
    if (request.json)
        printJson(console, QJsonDocument(configurationJson(session.state(), session.portNumber())));
    else
        console.print(configurationTable(session.state(), session.portNumber()));
    return ExitStatus::Success;
}

ExitStatus runWrite(const Request &request, Console &console)
{
    const QString path = request.arguments.value(0);
    const std::optional<core::MainState> file = checkedFile(path, console);
    if (!file)
        return ExitStatus::Usage;

    SignSession session(console);
    if (const ExitStatus status = session.connectSign(request.port); status != ExitStatus::Success)
        return status;

    // Open the file over what the sign holds, as the window does after a download; what the
    // file leaves out keeps the sign's value and is not sent.
    core::MainState state = session.state();
    const int portIndex = state.portIndex;
    const QString signModel = state.modelNumber;
    if (!readFile(path, state, console))
        return ExitStatus::Usage;
    state.portIndex = portIndex; // the file names the port it was saved from, not this sign's
    if (!file->modelLabel.isEmpty() && file->modelLabel != signModel) {
        console.error(QStringLiteral("%1 was saved from a %2 sign; the sign on COM %3 is a %4.")
                          .arg(path, file->modelLabel)
                          .arg(portIndex + 1)
                          .arg(signModel));
    }
    session.controller().setState(state);

    const QStringList plan = core::uploadPlan(state, request.force);
    if (!request.dryRun) {
        Interruption interruption([&session](bool terminated) { session.interrupt(terminated); });
        return session.upload(request.force);
    }
    for (const QString &command : plan)
        console.print(visibleCommand(command));
    console.print(plan.isEmpty() ? QStringLiteral("Nothing to Upload")
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
    const QString command = protocol::testMessageCommand(
        request.messageId, session.state().config.rows[size_t(request.priority)], text);
    console.progress(QStringLiteral("Sending ") + visibleCommand(command));
    const ExchangeResult result
        = exchangeCommand(session.portNumber(), QStringLiteral("Test message"), command);
    if (const ExitStatus status = answerOf(result, session.portNumber(), console);
        status != ExitStatus::Success)
        return status;
    console.print(QStringLiteral("Upload Successfull"));
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
    console.print(QStringLiteral("Clock of the sign on COM %1 set to %2.")
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
