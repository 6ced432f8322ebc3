#pragma once

// Results that carry an error text and cannot be ignored silently.

// standard
#include <optional>
#include <string>
#include <utility>

namespace platform {

/// Outcome of an operation that returns nothing: success, or a failure with a
/// message meant for the user ("Could not open ...: Permission denied").
class [[nodiscard]] Status {
public:
    static Status success() { return Status(); }
    static Status failure(std::string message)
    {
        Status s;
        s.error_ = message.empty() ? std::string("Unknown error") : std::move(message);
        return s;
    }

    bool ok() const { return error_.empty(); }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return error_; }

private:
    std::string error_;
};

/// A value or a failure message.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Status failure) : error_(failure.ok() ? std::string("Unknown error") : failure.error()) {}

    static Result failure(std::string message) { return Result(Status::failure(std::move(message))); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const std::string& error() const { return error_; }
    Status status() const { return ok() ? Status::success() : Status::failure(error_); }

    T& value() & { return *value_; }
    const T& value() const& { return *value_; }
    T&& value() && { return std::move(*value_); }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    T& operator*() & { return *value_; }
    const T& operator*() const& { return *value_; }

private:
    std::optional<T> value_;
    std::string error_;
};

} // namespace platform
