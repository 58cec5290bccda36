#pragma once
// The outcome of an engine step: success, or a message for the user that names what failed
// and why. The engine never shows anything itself; its caller decides how to tell the user.

#include <optional>
#include <string>
#include <utility>

namespace quilvane {

class [[nodiscard]] Status {
public:
    static Status Ok() { return Status(); }
    static Status Fail(std::string message) { return Status(std::move(message)); }

    bool ok() const { return !message_; }
    explicit operator bool() const { return ok(); }
    const std::string& message() const { return *message_; }

private:
    Status() = default;
    explicit Status(std::string message) : message_(std::move(message)) {}
    std::optional<std::string> message_;
};

// A value, or the message of the step that could not produce it.
template <class T>
class [[nodiscard]] Result {
public:
    Result(T value) : value_(std::move(value)) {}
    Result(Status failure) : failure_(std::move(failure)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return &*value_; }
    const T* operator->() const { return &*value_; }
    Status status() const { return ok() ? Status::Ok() : failure_; }
    const std::string& message() const { return failure_.message(); }

private:
    std::optional<T> value_;
    Status failure_ = Status::Ok();
};

}  // namespace quilvane
