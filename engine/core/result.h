#pragma once

#include <optional>
#include <string>
#include <utility>

namespace vemro {

// Outcome of an operation a user can make fail: success, or a message the user can read.
class Status {
public:
    static Status success() { return Status(); }
    static Status failure(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !message_.has_value(); }
    explicit operator bool() const { return ok(); }
    const std::string& message() const {
        static const std::string kNone;
        return message_ ? *message_ : kNone;
    }

private:
    Status() = default;
    explicit Status(std::string message) : message_(std::move(message)) {}

    std::optional<std::string> message_;
};

// A value, or a message the user can read that says why there is none.
template <typename T>
class Result {
public:
    Result(T value) : value_(std::move(value)) {}  // NOLINT: implicit for convenience
    static Result failure(std::string message) { return Result(std::move(message), 0); }

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& value() { return *value_; }
    const T& value() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    const std::string& message() const { return message_; }

private:
    Result(std::string message, int) : message_(std::move(message)) {}

    std::optional<T> value_;
    std::string message_;
};

}  // namespace vemro
