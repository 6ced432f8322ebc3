#pragma once

// The safety net of Kestrin's windows. Kestrin's own failures come back as
// platform::Status and are shown with showFailure (kestrin/core/failurebox.h);
// this catches only what Qt or the standard library may throw from an
// action (memory, a container's limits), shows it in the same box, and
// lets the window go back to the event loop.

// standard
#include <functional>

namespace platform {
class Platform;
}

namespace kestrin {

/// Runs the action; returns false when it threw a std::exception (after
/// showing its message as showFailure shows a failure).
bool runGuarded(platform::Platform& platform, const std::function<void()>& action);

} // namespace kestrin
