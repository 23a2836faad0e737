#pragma once

#include "Console.h"
#include "ExitStatus.h"

#include "DefaultMessageProtocol.h"
#include "MainController.h"

#include <QObject>
#include <QStringList>

#include <optional>

namespace tavrin::cli {

// The main window's sign commands for a program without a window: the controller runs them
// with its own pacing, and each call here returns once the sign's part is over, judged by
// what the sign confirmed. The controller has no update check (the window runs it): a command
// line never goes on the network.
class SignSession : public QObject
{
    Q_OBJECT

public:
    explicit SignSession(Console &console, QObject *parent = nullptr);

    // Reads the sign on COM k ("Download from Sign"), or without a port searches COM 1 to
    // COM 12 as the window does at start-up. Succeeds only with a whole configuration.
    ExitStatus connectSign(std::optional<int> portNumber);
    // "DOWNLOAD_DEFAULT_MSG": the sign's default message into the controller's store, as the
    // default-message window reads it. Succeeds only with a whole record.
    ExitStatus readDefaultMessage();
    // The sign's default message as readDefaultMessage() found it.
    const std::optional<protocol::DefaultMessage> &signDefaultMessage() const
    {
        return m_signDefaultMessage;
    }
    // "Upload to Sign", or "Force Upload": sends what the controller's state holds that the
    // sign does not, printing each item's commands once the sign has confirmed it. Succeeds
    // only when the sign confirmed every item. An interruption (interrupt()) lets the item
    // on the line finish and ends with the interruption's status. `then`, when given, goes
    // out last, on a port of its own as the message windows send, once all before it was
    // confirmed.
    ExitStatus upload(bool force, const std::optional<protocol::ExchangeItem> &then = {});
    // "<FD>" and the re-read that follows it.
    ExitStatus factoryReset();
    // Asks a running upload to stop after the item on the line; the upload then ends with
    // Interrupted, or Terminated when `terminated` (SIGTERM).
    void interrupt(bool terminated);

    int portNumber() const { return m_controller.state().portIndex + 1; }
    const core::MainState &state() const { return m_controller.state(); }
    core::MainController &controller() { return m_controller; }

private:
    ExitStatus download();
    ExitStatus search();
    // Runs the event loop until the controller emits `signal`.
    template<typename Signal> void waitFor(Signal signal);

    Console &m_console;
    core::MainController m_controller;
    int m_lines = 0; // non-empty lines from the sign during the command under way
    std::optional<ExitStatus> m_interruption;
    std::optional<protocol::DefaultMessage> m_signDefaultMessage;
};

} // namespace tavrin::cli
