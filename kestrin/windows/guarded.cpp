#include "kestrin/windows/guarded.h"

// standard
#include <exception>

// ours
#include "kestrin/core/failurebox.h"
#include "platform/platform.h"

namespace kestrin {

bool runGuarded(platform::Platform& platform, const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        showFailure(platform, platform::Status::failure(e.what()));
        return false;
    }
}

} // namespace kestrin
