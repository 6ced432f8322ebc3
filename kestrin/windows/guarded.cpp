#include "kestrin/windows/guarded.h"

// standard
#include <exception>

// ours
#include "platform/platform.h"

namespace kestrin {

bool runGuarded(platform::Platform& platform, const std::function<void()>& action)
{
    try {
        action();
        return true;
    } catch (const std::exception& e) {
        platform.message(e.what(), "", platform::Buttons::Ok);
        return false;
    }
}

} // namespace kestrin
