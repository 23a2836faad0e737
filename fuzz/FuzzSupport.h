#pragma once

// What every harness shares: how a broken invariant is reported, and the Qt application
// the code under test needs. Harnesses run both under libFuzzer and in CTest's replay.

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace tavrin::fuzz {

// libFuzzer saves the input of any abort, and CTest's replay fails on it.
[[noreturn]] inline void fail(const char *invariant, const QString &detail = {})
{
    std::fprintf(stderr, "fuzz invariant broken: %s %s\n", invariant,
                 detail.toLocal8Bit().constData());
    std::abort();
}

inline void require(bool holds, const char *invariant)
{
    if (!holds)
        fail(invariant);
}

// Every list of a message window shows one of its own positions, or nothing.
template<typename State, typename Attributes>
void requireListSelections(const State &state, const Attributes &lists, const char *invariant)
{
    for (const auto a : lists) {
        if (state.code(a) < -1 || state.code(a) >= state.listCount(a)) {
            fail(invariant,
                 QStringLiteral("list %1 code %2 of %3")
                     .arg(int(a))
                     .arg(state.code(a))
                     .arg(state.listCount(a)));
        }
    }
    require(state.timeFormat >= -1 && state.timeFormat < state.timeFormats.size(),
            "time format selection");
}

// Timers and signals need an application object (a QGuiApplication where documents and
// fonts are used); it lives until the process ends. No harness opens a serial port, and
// this makes sure none could be found if one tried.
template<typename Application = QCoreApplication> void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    for (int port = 1; port <= 12; ++port) // COM 1 to COM 12: no device behind any
        qputenv(QByteArray("TAVRIN_COM" + QByteArray::number(port)).constData(), QByteArray());
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tavrin-fuzz";
    static char *argv[] = { name, nullptr };
    static Application *application = new Application(argc, argv);
    (void)application;
}

} // namespace tavrin::fuzz
