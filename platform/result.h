#pragma once

// Results that carry an error text and cannot be ignored silently.

// standard
#include <optional>
#include <string>
#include <utility>

// ours
#include "platform/message.h"

namespace platform {

/// Outcome of an operation that returns nothing: success, or a failure with a
/// message meant for the user ("Could not open ...: Permission denied"),
/// kept as its lines (platform/message.h). A failure may also carry its
/// reason alone ("Permission denied"), for a caller that words the failure
/// its own way.
class [[nodiscard]] Status {
public:
    static Status success() { return Status(); }
    /// `path`: the file the message names, when it names one, so that a
    /// caller which names the file itself (the console program) need not
    /// name it twice.
    static Status failure(Message message, std::string reason = {}, std::string path = {})
    {
        Status s;
        s.message_ = message.joined("").empty() ? Message("Unknown error") : std::move(message);
        s.reason_ = std::move(reason);
        s.path_ = std::move(path);
        return s;
    }

    /// The words every refusal ends with when it wrote nothing.
    static constexpr const char* kNothingWritten = "Nothing was written.";

    bool ok() const { return message_.empty(); }
    explicit operator bool() const { return ok(); }
    /// The message's lines, for a box or the console to join.
    const Message& message() const { return message_; }
    /// The message's lines joined with line feeds, for a log or a test.
    std::string error() const { return message_.joined("\n"); }

    /// The same failure with one more line (its reason, when it has one,
    /// with one more sentence), keeping its path: "Could not read /x: I/O
    /// error" then "Nothing was written.".
    Status withLine(const std::string& line) const
    {
        Status s = *this;
        s.message_.add(line);
        if (!s.reason_.empty())
            s.reason_ += (s.reason_.back() == '.' ? " " : ". ") + line;
        return s;
    }
    /// The same failure, ending with "Nothing was written.".
    Status nothingWritten() const { return withLine(kNothingWritten); }
    /// The reason alone, or the message's lines joined with blanks when none
    /// was given apart.
    std::string reason() const { return reason_.empty() ? message_.joined(" ") : reason_; }
    bool hasReason() const { return !reason_.empty(); }
    /// The file the message names; empty when it names none.
    const std::string& path() const { return path_; }

private:
    Message message_;
    std::string reason_;
    std::string path_;
};

/// A value or a failure (a message, and perhaps its reason apart).
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    /// A failure. A success has no value to give, so one passed here is a
    /// fault of the caller's, and the result says so rather than pass for a
    /// failure of the user's file.
    Result(Status failure)
        : failure_(failure.ok() ? Status::failure(std::string(kNoValue)) : std::move(failure))
    {
    }

    /// What a result made from a success says.
    static constexpr const char* kNoValue = "Internal error: a step reported success but gave no result.";

    static Result failure(Message message, std::string reason = {}, std::string path = {})
    {
        return Result(Status::failure(std::move(message), std::move(reason), std::move(path)));
    }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const Message& message() const { return failure_.message(); }
    std::string error() const { return failure_.error(); }
    std::string reason() const { return failure_.reason(); }
    bool hasReason() const { return failure_.hasReason(); }
    const std::string& path() const { return failure_.path(); }
    Status status() const { return ok() ? Status::success() : failure_; }

    T& value() & { return *value_; }
    const T& value() const& { return *value_; }
    T&& value() && { return std::move(*value_); }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    T& operator*() & { return *value_; }
    const T& operator*() const& { return *value_; }

private:
    std::optional<T> value_;
    Status failure_;
};

} // namespace platform
