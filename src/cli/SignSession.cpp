#include "SignSession.h"

#include "core/AppTitle.h"
#include "link/OpenResult.h"
#include "link/PortMap.h"
#include "link/Sleep.h"

namespace tavrin::cli {

using core::MainController;

namespace {

const QString kSearching = QStringLiteral("Searching...");

} // namespace

bool isRefusal(const QString &reply)
{
    return QStringView(reply).trimmed().compare(u"error", Qt::CaseInsensitive) == 0;
}

SignSession::SignSession(Console &console, QObject *parent)
    : QObject(parent)
    , m_console(console)
{
    m_controller.setUpdateCheckEnabled(false);
    connect(&m_controller, &MainController::configurationReceived, this,
            [this] { m_configurationReceived = true; });
    connect(&m_controller, &MainController::replyInterpreted, this, [this](const QString &line) {
        if (line.isEmpty())
            return;
        ++m_replies;
        if (isRefusal(line))
            ++m_refusals;
    });
    // What the window would put in a box: the firmware notice, a lost line, a failed write.
    connect(&m_controller, &MainController::messageRequested, this,
            [this](const QString &title, const QString &text) {
                m_console.error(title == core::kAppTitle
                                    ? terminalText(text)
                                    : title + QStringLiteral(": ") + terminalText(text));
            });
}

void SignSession::waitUntil(const std::function<bool()> &done)
{
    while (!done())
        link::sleepTicks(1);
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
    m_configurationReceived = false;
    m_console.progress(QStringLiteral("Reading COM %1...").arg(index + 1));
    m_controller.DownloadAll_Click();
    if (!m_controller.comCloseTimer().isActive()) {
        m_console.error(
            link::portFailureEntry(index + 1, m_controller.state().portFailures.value(index)));
        return ExitStatus::PortFailed;
    }
    waitUntil([this] { return !m_controller.comCloseTimer().isActive(); });
    if (!m_configurationReceived) {
        m_console.error(QStringLiteral("COM %1: the sign did not answer.").arg(index + 1));
        return ExitStatus::SignFailed;
    }
    return ExitStatus::Success;
}

ExitStatus SignSession::search()
{
    bool finished = false;
    int shownPort = -1;
    const auto onFinished = connect(&m_controller, &MainController::searchFinished, this,
                                    [&finished] { finished = true; });
    const auto onProgress = connect(&m_controller, &MainController::stateChanged, this, [&] {
        const core::MainState &s = m_controller.state();
        if (s.status == kSearching && s.portIndex != shownPort) {
            shownPort = s.portIndex;
            m_console.progress(QStringLiteral("Searching COM %1...").arg(shownPort + 1));
        }
    });
    m_controller.Form_Load();
    waitUntil([&finished] { return finished; });
    disconnect(onFinished);
    disconnect(onProgress);

    const core::MainState &s = m_controller.state();
    if (!s.modelLabel.isEmpty())
        return ExitStatus::Success;
    m_console.error(QStringLiteral("No sign answered on COM 1 to COM %1.").arg(vocab::kPortCount));
    // Why a port with a device could not be tried; one without any says nothing new.
    for (int i = 0; i < vocab::kPortCount; ++i) {
        const QString failure = s.portFailures.value(i);
        if (!failure.isEmpty() && !link::deviceForPort(i + 1).isEmpty())
            m_console.error(link::portFailureEntry(i + 1, failure));
    }
    return ExitStatus::SignFailed;
}

ExitStatus SignSession::upload(bool force, qsizetype expectedCount)
{
    QStringList sent;
    const auto onSent = connect(&m_controller, &MainController::uploadCommandSent, this,
                                [&](const QString &command) {
                                    sent << visibleCommand(command);
                                    m_console.progress(QStringLiteral("Sending %1 of %2: %3")
                                                           .arg(sent.size())
                                                           .arg(expectedCount)
                                                           .arg(sent.last()));
                                });
    m_replies = 0;
    m_refusals = 0;
    if (force)
        m_controller.ForceUpload_Click();
    else
        m_controller.UploadAll_Click();
    if (!m_controller.uploadTimer().isActive()) {
        // The timeouts were checked before, so only the port keeps an upload from starting.
        // A port without a device was told as the window's box; other failures are the status.
        const QString status = m_controller.state().status;
        if (status.startsWith(QString::number(portNumber()) + QLatin1Char('-')))
            m_console.error(status);
        disconnect(onSent);
        return ExitStatus::PortFailed;
    }
    waitUntil([this] { return !m_controller.uploadTimer().isActive(); });
    disconnect(onSent);

    for (const QString &command : std::as_const(sent))
        m_console.print(command);
    const bool allSent = m_controller.state().flags == core::PendingFlags {};
    if (sent.isEmpty() && allSent) {
        m_console.print(QStringLiteral("Nothing to Upload"));
        return ExitStatus::Success;
    }
    if (m_replies == 0) {
        m_console.error(QStringLiteral("COM %1: the sign did not answer; it may have kept none of "
                                       "the %2 commands.")
                            .arg(portNumber())
                            .arg(sent.size()));
        return ExitStatus::SignFailed;
    }
    if (!allSent) {
        m_console.error(QStringLiteral("COM %1: the upload stopped before everything was sent.")
                            .arg(portNumber()));
        return ExitStatus::SignFailed;
    }
    if (m_refusals > 0) {
        m_console.error(QStringLiteral("COM %1: the sign refused %2 of the %3 commands.")
                            .arg(portNumber())
                            .arg(m_refusals)
                            .arg(sent.size()));
        return ExitStatus::SignFailed;
    }
    m_console.print(QStringLiteral("Sent %1 commands to COM %2; the sign answered.")
                        .arg(sent.size())
                        .arg(portNumber()));
    return ExitStatus::Success;
}

ExitStatus SignSession::factoryReset()
{
    m_configurationReceived = false;
    m_replies = 0;
    m_refusals = 0;
    m_console.progress(QStringLiteral("Loading factory defaults on COM %1...").arg(portNumber()));
    m_controller.sendFactoryDefaults();
    if (!m_controller.factoryDefTimer().isActive())
        return ExitStatus::PortFailed; // told as the window's box
    waitUntil([this] {
        return !m_controller.factoryDefTimer().isActive()
            && !m_controller.comCloseTimer().isActive();
    });
    if (m_refusals > 0) {
        m_console.error(
            QStringLiteral("COM %1: the sign refused the factory defaults.").arg(portNumber()));
        return ExitStatus::SignFailed;
    }
    if (!m_configurationReceived) {
        m_console.error(QStringLiteral("COM %1: the sign did not answer after the factory "
                                       "defaults; read it again to see what it holds.")
                            .arg(portNumber()));
        return ExitStatus::SignFailed;
    }
    m_console.print(QStringLiteral("Factory defaults loaded on COM %1.").arg(portNumber()));
    return ExitStatus::Success;
}

} // namespace tavrin::cli
