#pragma once

#include <functional>

class QObject;

namespace tavrin::ui {

// Runs action once no modal window is open: at once, or after the open ones have closed.
// A window that opens on its own (an offer from the network) would otherwise stack over a
// message the user is reading. Nothing runs after context is destroyed.
void runWhenNoModalWindow(QObject *context, std::function<void()> action);

} // namespace tavrin::ui
