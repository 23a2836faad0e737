// Starts a program, waits for the X server to map a top-level window whose _NET_WM_PID is
// that program's, reads VmRSS from /proc at that moment, and ends the program. Nothing in
// the programs measured knows it is being measured.
//
//   bench_window_shown RUNS PROGRAM REFERENCE [REFERENCE-NAME [PROGRAM-NAME]]
//
// Runs each program once to warm the caches, then RUNS times each, interleaved (the order
// swaps every round), and prints the medians as two table rows for scripts/bench. Every
// TAVRIN_COM<k> is set empty (no device: the start-up search opens nothing) and the update
// check's address points at a closed local port, so no run touches a serial port or the
// network.
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kShowTimeout = std::chrono::seconds(30);

struct Sample
{
    double milliseconds = 0;
    double residentKiB = 0;
};

[[noreturn]] void fail(const std::string &message)
{
    std::fprintf(stderr, "bench_window_shown: %s\n", message.c_str());
    std::exit(1);
}

double residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6);
    }
    return 0;
}

class Display
{
public:
    Display()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(m_connection))
            fail("cannot connect to the X server (DISPLAY)");
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        // Without a window manager a top-level window is a child of the root: its map shows
        // up here as a MapNotify.
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, root, XCB_CW_EVENT_MASK, &mask);
        const char name[] = "_NET_WM_PID";
        std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
            xcb_intern_atom_reply(m_connection,
                                  xcb_intern_atom(m_connection, 0, sizeof name - 1, name), nullptr),
            &std::free);
        if (!atom)
            fail("cannot intern _NET_WM_PID");
        m_pidAtom = atom->atom;
        xcb_flush(m_connection);
    }
    ~Display() { xcb_disconnect(m_connection); }

    // Waits until pid maps a top-level window; returns false on time-out or when it ended.
    bool waitForWindow(pid_t pid, Clock::time_point deadline)
    {
        const int fd = xcb_get_file_descriptor(m_connection);
        while (Clock::now() < deadline) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const bool shown = (event->response_type & 0x7f) == XCB_MAP_NOTIFY
                    && isTopLevelOf(reinterpret_cast<xcb_map_notify_event_t *>(event), pid);
                std::free(event);
                if (shown)
                    return true;
            }
            if (xcb_connection_has_error(m_connection))
                fail("lost the X server");
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid)
                return false;
            pollfd watch { fd, POLLIN, 0 };
            ::poll(&watch, 1, 20);
        }
        return false;
    }

    // Drops what the previous run left (its unmap and destroy notifications).
    void drain()
    {
        roundTrip();
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }

private:
    void roundTrip()
    {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    bool isTopLevelOf(const xcb_map_notify_event_t *event, pid_t pid)
    {
        if (event->override_redirect)
            return false; // menus, tool tips
        std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(m_connection,
                                   xcb_get_property(m_connection, 0, event->window, m_pidAtom,
                                                    XCB_ATOM_CARDINAL, 0, 1),
                                   nullptr),
            &std::free);
        if (!reply || xcb_get_property_value_length(reply.get()) != 4)
            return false;
        uint32_t owner = 0;
        std::memcpy(&owner, xcb_get_property_value(reply.get()), sizeof owner);
        return pid_t(owner) == pid;
    }

    xcb_connection_t *m_connection;
    xcb_atom_t m_pidAtom = XCB_ATOM_NONE;
};

Sample launch(Display &display, const char *program)
{
    display.drain();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char *argv[] = { const_cast<char *>(program), nullptr };

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program, &actions, nullptr, argv, environ) != 0)
        fail(std::string("cannot start ") + program);
    posix_spawn_file_actions_destroy(&actions);

    const bool shown = display.waitForWindow(pid, start + kShowTimeout);
    const Clock::time_point mapped = Clock::now();
    const double resident = shown ? residentKiB(pid) : 0;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    if (!shown)
        fail(std::string(program) + " showed no window");
    return { std::chrono::duration<double, std::milli>(mapped - start).count(), resident };
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void printRow(const char *measure, double figure, const char *unit, const char *reference,
              double referenceFigure)
{
    std::printf("ROW\t%s\t%.6g\t%s\t%s\t%.6g\n", measure, figure, unit, reference, referenceFigure);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4 || argc > 6 || std::atoi(argv[1]) < 1)
        fail("usage: bench_window_shown RUNS PROGRAM REFERENCE [REFERENCE-NAME [PROGRAM-NAME]]");
    const int runs = std::atoi(argv[1]);
    const char *program = argv[2];
    const char *reference = argv[3];
    const std::string referenceName = argc >= 5 ? argv[4] : "bare Qt window";
    const std::string programName = argc == 6 ? argv[5] : "main window";

    for (int k = 1; k <= 12; ++k)
        setenv(("TAVRIN_COM" + std::to_string(k)).c_str(), "", 1);
    setenv("TAVRIN_UPDATE_SITE", "http://127.0.0.1:9/Downloads", 1);

    Display display;
    launch(display, program);
    launch(display, reference);
    std::vector<double> time[2], memory[2];
    for (int round = 0; round < runs; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const int which = (round + turn) % 2;
            const Sample sample = launch(display, which == 0 ? program : reference);
            time[which].push_back(sample.milliseconds);
            memory[which].push_back(sample.residentKiB / 1024.0);
        }
    }
    char measure[160];
    std::snprintf(measure, sizeof measure, "start to %s mapped (median of %d)", programName.c_str(),
                  runs);
    const std::string sameWay = referenceName + ", same way";
    printRow(measure, median(time[0]), "ms", sameWay.c_str(), median(time[1]));
    std::snprintf(measure, sizeof measure, "resident memory, %s mapped (median of %d)",
                  programName.c_str(), runs);
    printRow(measure, median(memory[0]), "MiB", sameWay.c_str(), median(memory[1]));
    return 0;
}
