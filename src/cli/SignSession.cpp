#include "SignSession.h"

#include "AppTitle.h"
#include "OpenResult.h"
#include "PortMap.h"
#include "SignExchange.h"

#include <QEventLoop>

namespace tavrin::cli {

using core::MainController;
using protocol::ItemResult;

SignSession::SignSession(Console &console, QObject *parent)
    : QObject(parent)
    , m_console(console)
{
    connect(&m_controller, &MainController::replyInterpreted, this, [this](const QString &line) {
        if (!line.isEmpty())
            ++m_lines;
    });
    // What the window would put in a box: the firmware notice, a lost line, a failed write.
    connect(&m_controller, &MainController::messageRequested, this,
            [this](const QString &title, const QString &text) {
                m_console.error(title == core::kAppTitle
                                    ? terminalText(text)
                                    : title + QStringLiteral(": ") + terminalText(text));
            });
}

template<typename Signal> void SignSession::waitFor(Signal signal)
{
    QEventLoop loop;
    const auto connection = connect(&m_controller, signal, &loop, [&loop] { loop.quit(); });
    loop.exec();
    disconnect(connection);
}

ExitStatus SignSession::connectSign(std::optional<int> portNumber)
{
    if (!portNumber)
        return search();
    m_controller.setPortIndex(*portNumber - 1);
    return download();
}

ExitStatus SignSession::download()
{
    const int index = m_controller.state().portIndex;
    m_console.progress(QStringLiteral("Reading COM %1...").arg(index + 1));
    bool read = false;
    const auto onFinished = connect(&m_controller, &MainController::downloadFinished, this,
                                    [&read](bool configurationRead) { read = configurationRead; });
    m_lines = 0;
    m_controller.download();
    if (!m_controller.isBusy()) {
        disconnect(onFinished);
        m_console.error(portFailureText(index + 1, m_controller.state().portFailures.value(index)));
        return ExitStatus::PortFailed;
    }
    waitFor(&MainController::downloadFinished);
    disconnect(onFinished);
    if (read)
        return ExitStatus::Success;
    if (!m_controller.serialLink().everConnected()) { // told as the port's failure
        m_console.error(portFailureText(index + 1, m_controller.state().portFailures.value(index)));
        return ExitStatus::PortFailed;
    }
    const QString port
        = QStringLiteral("COM %1 (%2): ").arg(index + 1).arg(link::deviceForPort(index + 1));
    if (m_lines > 0)
        m_console.error(port
                        + QStringLiteral("the sign's reply could not be read (cut short or "
                                         "garbled); nothing of it was taken."));
    else if (!m_controller.serialLink().lastChunk().isEmpty())
        m_console.error(port
                        + QStringLiteral("the sign sent characters but never ended a line; "
                                         "nothing of it was taken."));
    else
        m_console.error(port + QStringLiteral("the sign did not answer."));
    return ExitStatus::SignFailed;
}

ExitStatus SignSession::readDefaultMessage()
{
    m_console.progress(
        QStringLiteral("Reading the default message on COM %1...").arg(portNumber()));
    const ExchangeResult result = exchangeCommand(portNumber(), QStringLiteral("Default message"),
                                                  protocol::kDownloadDefaultMsgCommand);
    const auto message
        = protocol::defaultMessageOf(protocol::decodeDefaultMessageRecord(result.answer));
    if (!result.opened) {
        m_console.error(portFailureText(portNumber(), result.opened.fullText()));
        return ExitStatus::PortFailed;
    }
    if (!message) {
        m_console.error(QStringLiteral("COM %1: the sign did not send its default message%2.")
                            .arg(portNumber())
                            .arg(result.lastLine.isEmpty() ? QString()
                                                           : QStringLiteral("; it answered: ")
                                         + terminalText(result.lastLine).trimmed()));
        return ExitStatus::SignFailed;
    }
    m_signDefaultMessage = message;
    m_controller.defaultMessage().message = *message;
    return ExitStatus::Success;
}

ExitStatus SignSession::search()
{
    // Every port is probed at once, as the window's search does.
    m_console.progress(QStringLiteral("Searching COM 1 to COM %1...").arg(vocab::kPortCount));
    m_controller.startPortSearch();
    m_controller.searchPorts(); // at once: the window's start-up delay is for its first paint
    waitFor(&MainController::searchFinished);

    const core::MainState &s = m_controller.state();
    if (!s.modelLabel.isEmpty())
        return ExitStatus::Success;
    m_console.error(QStringLiteral("No sign answered on COM 1 to COM %1.").arg(vocab::kPortCount));
    // Why a port with a device could not be tried; one without any says nothing new.
    for (int i = 0; i < vocab::kPortCount; ++i) {
        const QString failure = s.portFailures.value(i);
        if (!failure.isEmpty() && !link::deviceForPort(i + 1).isEmpty())
            m_console.error(portFailureText(i + 1, failure));
    }
    return ExitStatus::SignFailed;
}

void SignSession::interrupt(bool terminated)
{
    m_interruption = terminated ? ExitStatus::Terminated : ExitStatus::Interrupted;
    m_controller.stopUpload();
}

ExitStatus SignSession::upload(bool force, const std::optional<protocol::ExchangeItem> &then)
{
    int written = 0;
    // On a terminal the confirmed commands follow at once on standard output.
    const bool showSending = !m_console.outIsTerminal();
    const auto onSent = connect(
        &m_controller, &MainController::uploadCommandSent, this, [&](const QString &command) {
            if (showSending)
                m_console.progress(
                    QStringLiteral("Sending %1: %2").arg(++written).arg(visibleCommand(command)));
        });
    // Printed as the sign confirms it, so what was printed holds even if the run is cut off.
    const auto onSettled = connect(&m_controller, &MainController::uploadItemSettled, this,
                                   [this](const protocol::ExchangeItem &item, ItemResult result) {
                                       if (result != ItemResult::Confirmed)
                                           return;
                                       for (const protocol::SignCommand &c : item.commands)
                                           m_console.print(visibleCommand(c.text));
                                   });
    protocol::ExchangeOutcome outcome;
    const auto onFinished
        = connect(&m_controller, &MainController::uploadFinished, this,
                  [&outcome](const protocol::ExchangeOutcome &o) { outcome = o; });
    const auto disconnectAll = [&] {
        disconnect(onSent);
        disconnect(onSettled);
        disconnect(onFinished);
    };
    // The timeouts were checked before, so only the port keeps an upload from starting. A
    // port without a device is told as the window's box, other failures as the status line.
    const auto onPortFailed = connect(&m_controller, &MainController::portOpenFailed, this,
                                      [this](const QString &entry) { m_console.error(entry); });
    if (force)
        m_controller.uploadEverything();
    else
        m_controller.upload();
    disconnect(onPortFailed);
    if (!m_controller.isBusy()) {
        disconnectAll();
        return ExitStatus::PortFailed;
    }
    int planned = (m_controller.state().progressMaximum - 1) / core::kUploadProgressStep;
    if (m_interruption)
        m_controller.stopUpload(); // the signal came before the upload began
    waitFor(&MainController::uploadFinished);
    disconnectAll();
    if (then && !m_interruption && outcome.allConfirmed() && outcome.lostReason.isEmpty()) {
        const ExchangeResult last
            = exchangeCommand(portNumber(), then->name, then->commands.value(0).text);
        if (!last.opened) {
            m_console.error(portFailureText(portNumber(), last.opened.fullText()));
            return ExitStatus::PortFailed;
        }
        if (last.outcome.allConfirmed())
            m_console.print(visibleCommand(then->commands.value(0).text));
        outcome.items += last.outcome.items;
        outcome.results += last.outcome.results;
        outcome.lostReason = last.outcome.lostReason;
        ++planned;
    }

    const QString port = QStringLiteral("COM %1: ").arg(portNumber());
    if (outcome.results.isEmpty() && outcome.lostReason.isEmpty() && !m_interruption) {
        m_console.note(QStringLiteral("Nothing to Upload"));
        return ExitStatus::Success;
    }
    const QStringList unconfirmed
        = outcome.namesWith(ItemResult::Unconfirmed) + outcome.namesWith(ItemResult::Lost);
    for (const QString &name : unconfirmed)
        m_console.error(port + QStringLiteral("not confirmed: ") + name);
    for (const QString &name : outcome.namesWith(ItemResult::Refused))
        m_console.error(port + QStringLiteral("refused by the sign: ") + name);
    if (m_interruption) {
        m_console.error(QStringLiteral("interrupted after %1 of %2")
                            .arg(outcome.confirmedCount())
                            .arg(planned));
        return *m_interruption;
    }
    if (!outcome.allConfirmed())
        return ExitStatus::SignFailed;
    m_console.note(QStringLiteral("The sign on COM %1 confirmed all %2.")
                       .arg(portNumber())
                       .arg(outcome.results.size()));
    return ExitStatus::Success;
}

ExitStatus SignSession::factoryReset()
{
    m_console.progress(QStringLiteral("Loading factory defaults on COM %1...").arg(portNumber()));
    protocol::ExchangeOutcome reset;
    bool read = false;
    const auto onSent = connect(&m_controller, &MainController::factoryDefaultsSent, this,
                                [&reset](const protocol::ExchangeOutcome &o) { reset = o; });
    const auto onRead = connect(&m_controller, &MainController::downloadFinished, this,
                                [&read](bool configurationRead) { read = configurationRead; });
    m_controller.sendFactoryDefaults();
    if (!m_controller.isBusy()) {
        disconnect(onSent);
        disconnect(onRead);
        return ExitStatus::PortFailed; // told as the window's box
    }
    waitFor(&MainController::factoryDefaultsSent);
    if (m_controller.isBusy()) // the re-read has started
        waitFor(&MainController::downloadFinished);
    disconnect(onSent);
    disconnect(onRead);

    const QString port = QStringLiteral("COM %1: ").arg(portNumber());
    if (reset.results.value(0) == ItemResult::Refused) {
        m_console.error(port + QStringLiteral("the sign refused the factory defaults."));
        return ExitStatus::SignFailed;
    }
    if (!reset.allConfirmed()) {
        m_console.error(port
                        + QStringLiteral("the sign did not confirm the factory defaults; read it "
                                         "again to see what it holds."));
        return ExitStatus::SignFailed;
    }
    if (!read) {
        m_console.error(port
                        + QStringLiteral("the sign did not answer after the factory "
                                         "defaults; read it again to see what it holds."));
        return ExitStatus::SignFailed;
    }
    m_console.note(QStringLiteral("Factory defaults loaded on COM %1.").arg(portNumber()));
    return ExitStatus::Success;
}

} // namespace tavrin::cli
