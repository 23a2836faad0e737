#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace tavrin::cli {

// While it lives, SIGINT and SIGTERM no longer end the program at once: each is handed to
// `onSignal` (terminated: SIGTERM) from the event loop, so a command can finish what it must
// and release the port first. The handlers in place before are restored on destruction.
class Interruption : public QObject
{
    Q_OBJECT

public:
    explicit Interruption(std::function<void(bool terminated)> onSignal, QObject *parent = nullptr);
    ~Interruption() override;

private:
    void poll();

    std::function<void(bool)> m_onSignal;
    QTimer m_poll;
};

} // namespace tavrin::cli
