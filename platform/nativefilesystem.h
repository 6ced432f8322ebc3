#pragma once

// The file system of the machine the program runs on, whichever system that
// is: the programs and the tests that need real files use this name.

#ifdef _WIN32
#include "platform/win32filesystem.h"
namespace platform {
using NativeFileSystem = Win32FileSystem;
}
#else
#include "platform/posixfilesystem.h"
namespace platform {
using NativeFileSystem = PosixFileSystem;
}
#endif
