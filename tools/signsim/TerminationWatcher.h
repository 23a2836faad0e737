#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace tavrin::signsim {

// Turns SIGINT, SIGTERM and SIGHUP into a signal on the event loop, so the simulator can clean up.
class TerminationWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TerminationWatcher(QObject *parent = nullptr);
    ~TerminationWatcher() override;

signals:
    void terminationRequested();

private:
    static void handleSignal(int signalNumber);

    static inline int s_pipe[2] = { -1, -1 }; // the handler may only write to a descriptor
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace tavrin::signsim
