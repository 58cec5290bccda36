#pragma once
// A request to stop a task. Any thread, or a signal handler, may raise it; the task looks at it
// between two chunks of its copy and every few dozen steps of its planning, removes its
// temporary files and returns, leaving every file that was there before as it was.

#include <atomic>
#include <cstdint>

namespace quilvane {

class StopFlag {
public:
    StopFlag() = default;
    StopFlag(const StopFlag&) = delete;
    StopFlag& operator=(const StopFlag&) = delete;

    void Request() { requested_.store(true); }
    bool Requested() const { return requested_.load(); }
    // Forgets a request, so the same flag can serve the next task.
    void Clear() { requested_.store(false); }

private:
    // Lock-free, so a signal handler may raise it.
    std::atomic<bool> requested_{false};
    static_assert(std::atomic<bool>::is_always_lock_free);
};

// How many steps of a long planning loop pass between two looks at the flag: a look costs a
// little, and 64 steps that each ask the file system stay within a few milliseconds even on a
// slow system (a thousand took 40 ms under Wine on an emulated processor).
inline constexpr std::uint64_t kStepsBetweenStopChecks = 64;

// Whether a loop at `step` should stop now; looks at the flag only every 64 steps.
inline bool StopDue(const StopFlag& stop, std::uint64_t step) {
    return step % kStepsBetweenStopChecks == 0 && stop.Requested();
}

}  // namespace quilvane
