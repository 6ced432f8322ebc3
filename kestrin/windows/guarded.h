#pragma once

// The top-level error handler of Kestrin's windows: an action that throws
// ends there, its message is shown in a box titled with the program's name,
// and the window goes back to the event loop.

// standard
#include <functional>

namespace platform {
class Platform;
}

namespace kestrin {

/// Runs the action; returns false when it threw (after showing the error).
bool runGuarded(platform::Platform& platform, const std::function<void()>& action);

} // namespace kestrin
