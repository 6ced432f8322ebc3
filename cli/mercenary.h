#pragma once
// The steps the custom mercenary's commands (imp-dump, imp-apply, and diff
// of a profile or a presets file) share over Kestrin's core: which preset
// section a command means, and a profile read from IMP.dat as the editor's
// Read reads it. The windows choose a section from their own list, so these
// are the console's alone.

// standard
#include <memory>
#include <string>
#include <string_view>

// ours
#include "kestrin/core/profile.h"
#include "kestrin/core/profilepreset.h"
#include "platform/filesystem.h"
#include "platform/result.h"

namespace cli {

/// The preset section to apply (or to compare, as `verb` says): the one
/// named, or the file's only one. The failure when the file is no presets
/// file, holds no preset section or more than one and none is named, or
/// lacks the one named.
platform::Result<std::string> chosenSection(std::string_view iniText, const std::string& named,
                                            std::string_view verb = "apply");

/// A profile read from IMP.dat, with the choices its reading made.
struct LoadedProfile {
    std::unique_ptr<kestrin::Profile> profile = std::make_unique<kestrin::Profile>();
    std::unique_ptr<kestrin::ProfileChoices> choices = std::make_unique<kestrin::ProfileChoices>(*profile);
};

/// Reads IMP.dat at `path` as the editor's Read does; the failure is
/// kestrin::readProfile's.
platform::Result<LoadedProfile> loadProfile(platform::FileSystem& files, const std::string& path);

} // namespace cli
