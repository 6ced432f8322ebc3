// IMP.dat read pass: any bytes as the profile file; a short file, or bytes
// that are no profile, are refused with a failure; anything else reads
// without fault.

// standard
#include <cstddef>
#include <cstdint>
#include <string>

// ours
#include "tests/support/memoryfilesystem.h"
#include "tests/support/nowindowchoices.h"
#include "kestrin/core/profile.h"
#include "kestrin/core/profilefile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::MemoryFileSystem files;
    files.files["/game/IMP.dat"] = std::string(reinterpret_cast<const char*>(data), size);
    kestrin::Profile profile; // direct signals only: no application object needed
    kestrin::NoWindowChoices windows;
    (void)kestrin::readProfile(files, "/game/IMP.dat", profile, windows);
    return 0;
}
