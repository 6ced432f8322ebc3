#pragma once

// A message for the user, kept as its lines. Nothing joins them until they
// are shown: a message box joins them with its program's line break (a
// carriage return in Brackel and Velloc, carriage return and line feed in
// Kestrin), and the console makes one line of sentences of them.

// standard
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

/// How a program's message boxes join the lines of a message.
enum class LineBreak { Cr, CrLf };

inline std::string_view lineBreakText(LineBreak lineBreak)
{
    return lineBreak == LineBreak::CrLf ? "\r\n" : "\r";
}

class Message {
public:
    Message() = default;
    /// A message of one line. A line holds no line break of its own.
    Message(const char* line) : lines_{std::string(line)} {}
    Message(std::string line) : lines_{std::move(line)} {}
    Message(std::string_view line) : lines_{std::string(line)} {}
    /// A message of these lines, in order; an empty line is a blank one.
    Message(std::initializer_list<std::string> lines) : lines_(lines) {}
    explicit Message(std::vector<std::string> lines) : lines_(std::move(lines)) {}

    const std::vector<std::string>& lines() const { return lines_; }
    bool empty() const { return lines_.empty(); }

    /// This message with one more line at its end.
    Message& add(std::string line)
    {
        lines_.push_back(std::move(line));
        return *this;
    }
    /// This message with another's lines at its end.
    Message& append(const Message& more)
    {
        lines_.insert(lines_.end(), more.lines_.begin(), more.lines_.end());
        return *this;
    }

    /// The lines joined with `lineBreak` between them.
    std::string joined(std::string_view lineBreak) const
    {
        std::string text;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (i > 0)
                text += lineBreak;
            text += lines_[i];
        }
        return text;
    }
    std::string joined(LineBreak lineBreak) const { return joined(lineBreakText(lineBreak)); }

    friend bool operator==(const Message&, const Message&) = default;

private:
    std::vector<std::string> lines_;
};

} // namespace platform
