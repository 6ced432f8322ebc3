#include "cli/mercenary.h"

// standard
#include <vector>

// ours
#include "kestrin/core/profilefile.h"
#include "platform/ascii.h"

namespace cli {

platform::Result<std::string> chosenSection(std::string_view iniText, const std::string& named, std::string_view verb)
{
    if (const std::string why = kestrin::notAPresetsFile(iniText); !why.empty())
        return platform::Result<std::string>::failure(why);
    const std::vector<std::string> sections = kestrin::presetSections(iniText);
    if (named.empty()) {
        if (sections.empty())
            return platform::Result<std::string>::failure("The file holds no preset section.");
        if (sections.size() != 1)
            return platform::Result<std::string>::failure("The file holds " + std::to_string(sections.size()) +
                                                          " preset sections; name the one to " + std::string(verb) +
                                                          " with --section.");
        return sections.front();
    }
    if (!kestrin::hasSection(sections, named))
        return platform::Result<std::string>::failure("The file holds no preset section [" + platform::printableAscii(named) +
                                                      "].");
    return named;
}

platform::Result<LoadedProfile> loadProfile(platform::FileSystem& files, const std::string& path)
{
    LoadedProfile loaded;
    if (auto read = kestrin::readProfile(files, path, *loaded.profile, *loaded.choices); !read)
        return read;
    return loaded;
}

} // namespace cli
