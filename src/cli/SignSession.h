#pragma once

#include "Console.h"
#include "ExitStatus.h"

#include "core/MainController.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace tavrin::cli {

// The main window's sign commands for a program without a window: the controller runs them
// with its own timers and pacing, and each call here returns once the sign's part is over.
// The controller's update check is off: a command line never goes on the network.
class SignSession : public QObject
{
    Q_OBJECT

public:
    explicit SignSession(Console &console, QObject *parent = nullptr);

    // Reads the sign on COM k ("Download from Sign"), or without a port searches COM 1 to
    // COM 12 as the window does at start-up.
    ExitStatus connectSign(std::optional<int> portNumber);
    // "Upload to Sign", or "Force Upload": sends what the controller's state holds that the
    // sign does not. expectedCount only paces the progress text.
    ExitStatus upload(bool force, qsizetype expectedCount);
    // "<FD>" and the re-read that follows it.
    ExitStatus factoryReset();

    int portNumber() const { return m_controller.state().portIndex + 1; }
    const core::MainState &state() const { return m_controller.state(); }
    core::MainController &controller() { return m_controller; }

private:
    ExitStatus download();
    ExitStatus search();
    // Runs the event loop until done() holds.
    static void waitUntil(const std::function<bool()> &done);

    Console &m_console;
    core::MainController m_controller;
    bool m_configurationReceived = false;
    int m_replies = 0;
    int m_refusals = 0;
};

// The sign said it rejected a command.
bool isRefusal(const QString &reply);

} // namespace tavrin::cli
