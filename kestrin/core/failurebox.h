#pragma once

// How Kestrin shows a failure: the one box every window and flow of the
// program shows a failed Status in.

// ours
#include "platform/result.h"

namespace platform {
class Platform;
}

namespace kestrin {

/// Shows the failure in a box titled with the program's name, with an OK
/// button; the box joins its lines as Kestrin's do (CR LF). A success shows
/// nothing.
void showFailure(platform::Platform& platform, const platform::Status& failure);

} // namespace kestrin
