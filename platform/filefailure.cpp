#include "platform/filefailure.h"

namespace platform {

Status fileFailure(std::string_view what, const std::string& path, std::string why)
{
    std::string message = std::string(what) + " " + path + ": " + why;
    return Status::failure(std::move(message), std::move(why), path);
}

} // namespace platform
