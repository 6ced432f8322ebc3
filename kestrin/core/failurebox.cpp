#include "kestrin/core/failurebox.h"

// ours
#include "platform/platform.h"

namespace kestrin {

void showFailure(platform::Platform& platform, const platform::Status& failure)
{
    if (failure.ok())
        return;
    (void)platform.message(failure.message(), "", platform::Buttons::Ok);
}

} // namespace kestrin
