#include "platform/fieldmerge.h"

namespace platform {

namespace {

/// How many conflicting fields the question names before it counts the rest.
constexpr std::size_t kNamedConflicts = 8;

} // namespace

FieldMerge mergeFields(std::size_t count, const std::function<bool(std::size_t field, Side a, Side b)>& same)
{
    FieldMerge merge;
    for (std::size_t i = 0; i < count; ++i) {
        const bool oursChanged = !same(i, Side::Base, Side::Ours);
        const bool theirsChanged = !same(i, Side::Base, Side::Theirs);
        merge.theirsChanged += theirsChanged;
        if (!oursChanged) {
            merge.theirsKept += theirsChanged;
            continue;
        }
        if (!theirsChanged)
            merge.ours.push_back(i);
        else if (!same(i, Side::Ours, Side::Theirs))
            merge.conflicts.push_back(i);
        // Both made the same change: the file holds it already.
    }
    return merge;
}

bool askOverwrite(Platform& platform, const std::string& path, const std::vector<std::string>& names)
{
    std::string list;
    for (std::size_t i = 0; i < names.size() && i < kNamedConflicts; ++i)
        list += (i == 0 ? "" : ", ") + names[i];
    if (names.size() > kNamedConflicts)
        list += " and " + std::to_string(names.size() - kNamedConflicts) + " more";
    const Message text = {
        "Another program has changed " + path + " since it was opened here, and these were changed both here and "
        "there:",
        list + ".",
        "",
        "Save this window's values over them? The other program's other changes are kept.",
        "No cancels the save: nothing is written.",
    };
    return platform.message(text, "Changed by another program", Buttons::YesNo) == Answer::Yes;
}

std::string keptNote(const std::string& path, std::size_t kept)
{
    if (kept == 0)
        return {};
    const std::string changes = kept == 1 ? "1 change" : std::to_string(kept) + " changes";
    return changes + " that another program made to " + path + " since it was opened here " +
           (kept == 1 ? "was" : "were") + " kept; the window now shows the file as it is.";
}

} // namespace platform
