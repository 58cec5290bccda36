#pragma once
// The one shape of ownership for the system's handles and C library objects: an owner
// releases what it holds exactly once, can be moved and never copied.

#include <utility>

namespace quilvane {

// A handle with the function that releases it; `kEmpty` is the value that holds nothing.
// `Free` is called only for a handle that is not `kEmpty`.
template <class Handle, auto Free, Handle kEmpty = Handle{}>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, kEmpty)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, kEmpty));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { Reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != kEmpty; }
    // Releases what is held and takes `handle` in its place.
    void Reset(Handle handle = kEmpty) {
        if (handle_ != kEmpty) Free(handle_);
        handle_ = handle;
    }
    // Gives the handle up unreleased, to an owner that takes it over.
    [[nodiscard]] Handle Disown() { return std::exchange(handle_, kEmpty); }

private:
    Handle handle_ = kEmpty;
};

}  // namespace quilvane
