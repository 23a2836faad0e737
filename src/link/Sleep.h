#pragma once

#include <chrono>

namespace tavrin::link {

inline constexpr std::chrono::milliseconds kSleepTick { 10 };

// Waits count ticks of a 10 ms timer (at least count x 10 ms) while the event loop goes on:
// serial replies, clicks and other timers are handled meanwhile, and a handler may sleep again
// (each call counts on its own timer). count <= 0 returns at once. The wait also ends when the
// application quits, and then returns false, as does every later wait: no event runs any more,
// so a caller that waits for a timer or a reply in a loop must stop on false. Callers guard
// their own re-entry: this does not stop a click from starting the waiting command a second time.
bool sleepTicks(int count);

} // namespace tavrin::link
