#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>

#include <functional>

// Runs the simulator that TAVRIN_SIGNSIM names in a child process for integration tests.
class SignSimProcess : public QObject
{
    Q_OBJECT

public:
    explicit SignSimProcess(QStringList arguments = {}, QObject *parent = nullptr);
    ~SignSimProcess() override; // stops the simulator

    bool start(); // waits (up to ~5 s) for the device path line
    bool startOnPort(int portNumber); // start(), then TAVRIN_COM<k> points at the sign
    QString devicePath() const { return m_devicePath; }
    // Commands logged so far, unescaped, in order (with their "\r" where one was received).
    QStringList receivedCommands() const { return m_commands; }
    bool waitForCommands(int count, int timeoutMs = 5000); // until that many were received
    // Dies (SIGKILL, a pulled cable) once it has logged `count` more commands; 0: never.
    void killAfter(int count) { m_killAt = int(m_commands.size()) + count; }
    void stop();

private:
    void readLog();
    // Runs the event loop until done() holds, the process ends or the time is up.
    bool waitUntil(const std::function<bool()> &done, int timeoutMs);

    QStringList m_arguments;
    QProcess m_process;
    QString m_devicePath;
    QByteArray m_logTail; // an unfinished log line
    QStringList m_commands;
    int m_killAt = -1;
    QStringList m_diagnostics; // the simulator's own complaints, not its log
};

// Points TAVRIN_COM1..TAVRIN_COM12 at a path that does not exist, so no test reaches a
// real port; tests then point single ports at simulators.
void isolateSerialPorts();
