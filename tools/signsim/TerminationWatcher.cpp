#include "TerminationWatcher.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tavrin::signsim {
namespace {

constexpr int kSignals[] = { SIGINT, SIGTERM, SIGHUP };

} // namespace

TerminationWatcher::TerminationWatcher(QObject *parent)
    : QObject(parent)
{
    if (::pipe2(s_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(s_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        char drained[16];
        while (::read(s_pipe[0], drained, sizeof drained) > 0) { }
        emit terminationRequested();
    });
    struct sigaction action
    {
    };
    action.sa_handler = &TerminationWatcher::handleSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signalNumber : kSignals)
        ::sigaction(signalNumber, &action, nullptr);
}

TerminationWatcher::~TerminationWatcher()
{
    for (const int signalNumber : kSignals)
        ::signal(signalNumber, SIG_DFL);
    m_notifier.reset();
    for (int &fd : s_pipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void TerminationWatcher::handleSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(s_pipe[1], &byte, 1);
}

} // namespace tavrin::signsim
