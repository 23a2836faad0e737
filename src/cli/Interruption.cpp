#include "Interruption.h"

#include <atomic>
#include <chrono>
#include <csignal>

namespace tavrin::cli {

namespace {

using namespace std::chrono_literals;

// A signal handler may only touch a lock-free atomic; the event loop looks at it.
std::atomic<int> g_signal { 0 };
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void rememberSignal(int signal)
{
    g_signal.store(signal);
}

using Handler = void (*)(int);
Handler g_previousInt = SIG_DFL;
Handler g_previousTerm = SIG_DFL;

constexpr auto kPollInterval = 20ms;

} // namespace

Interruption::Interruption(std::function<void(bool terminated)> onSignal, QObject *parent)
    : QObject(parent)
    , m_onSignal(std::move(onSignal))
{
    g_signal.store(0);
    g_previousInt = std::signal(SIGINT, rememberSignal);
    g_previousTerm = std::signal(SIGTERM, rememberSignal);
    m_poll.setInterval(kPollInterval);
    connect(&m_poll, &QTimer::timeout, this, &Interruption::poll);
    m_poll.start();
}

Interruption::~Interruption()
{
    std::signal(SIGINT, g_previousInt);
    std::signal(SIGTERM, g_previousTerm);
}

void Interruption::poll()
{
    const int signal = g_signal.exchange(0);
    if (signal != 0)
        m_onSignal(signal == SIGTERM);
}

} // namespace tavrin::cli
