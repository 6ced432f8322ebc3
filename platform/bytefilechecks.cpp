#include "platform/bytefilechecks.h"

// ours
#include "platform/filefailure.h"

namespace platform {

namespace {

bool inside(std::uint64_t size, std::uint64_t offset, std::size_t count)
{
    return offset <= size && count <= size - offset;
}

} // namespace

Status checkRead(bool open, const std::string& path, std::uint64_t size, std::uint64_t offset, std::size_t count)
{
    if (!open)
        return fileFailure("Could not read", path, "the file is closed");
    if (!inside(size, offset, count))
        return fileFailure("Could not read", path,
                           std::to_string(count) + " bytes at offset " + std::to_string(offset) +
                               " lie beyond the end of the file (" + std::to_string(size) + " bytes)");
    return Status::success();
}

Status checkWrite(bool open, bool writable, const std::string& path, std::uint64_t size, std::uint64_t offset,
                  std::size_t count)
{
    if (!open)
        return fileFailure("Could not write", path, "the file is closed");
    if (!writable)
        return fileFailure("Could not write", path, "the file is open for reading only");
    if (!inside(size, offset, count))
        return fileFailure("Could not write", path,
                           std::to_string(count) + " bytes at offset " + std::to_string(offset) +
                               " would extend the file beyond its " + std::to_string(size) + " bytes");
    return Status::success();
}

} // namespace platform
