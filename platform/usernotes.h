#pragma once

// What a step that succeeded did and the user should learn of (an
// unfinished patch rolled back before a new one). The step adds a note; the
// program shows each note once, after its command, taking them all.

// standard
#include <string>
#include <utility>
#include <vector>

namespace platform {

class UserNotes {
public:
    void addNote(std::string note) { notes_.push_back(std::move(note)); }
    /// Every note added since the last call, in the order they were added.
    std::vector<std::string> takeNotes() { return std::exchange(notes_, {}); }

private:
    std::vector<std::string> notes_;
};

} // namespace platform
