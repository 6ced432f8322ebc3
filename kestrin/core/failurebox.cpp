#include "kestrin/core/failurebox.h"

// standard
#include <string>

// ours
#include "platform/platform.h"

namespace kestrin {

void showFailure(platform::Platform& platform, const platform::Status& failure)
{
    if (failure.ok())
        return;
    // A message's lines are parted by CR alone; Kestrin's boxes end each with CR LF.
    const std::string& lines = failure.error();
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (lines[i] == '\r' && (i + 1 == lines.size() || lines[i + 1] != '\n'))
            text += '\n';
    }
    (void)platform.message(text, "", platform::Buttons::Ok);
}

} // namespace kestrin
