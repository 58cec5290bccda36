#pragma once
// Runs a piece of work whose failures must not travel further: a window procedure, a subclass
// procedure, a worker thread. Any exception it lets out, of any type, becomes the reason
// handed to `onFailure`, whose result stands in for the work's.

#include <exception>

namespace quilvane {

inline constexpr const char* kUnknownFailure = "未知错误";

template <class Work, class OnFailure>
auto Guarded(Work&& work, OnFailure&& onFailure) -> decltype(work()) {
    try {
        return work();
    } catch (const std::exception& failure) {
        return onFailure(failure.what());
    } catch (...) {
        return onFailure(kUnknownFailure);
    }
}

}  // namespace quilvane
