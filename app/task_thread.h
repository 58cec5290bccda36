#pragma once
// One split or merge at a time on a thread of its own, so the window keeps answering and other
// windows can open while it copies. The window learns of it only through posted messages:
// kProgressMessage (at most about 30 a second, however many pieces there are) and one
// kEndedMessage once the task has ended and cleaned up.

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "stop_flag.h"
#include "task.h"

namespace quilvane::app {

class TaskThread {
public:
    static constexpr UINT kProgressMessage = WM_APP + 10;
    static constexpr UINT kEndedMessage = WM_APP + 11;

    TaskThread() = default;
    TaskThread(const TaskThread&) = delete;
    TaskThread& operator=(const TaskThread&) = delete;
    // A task still under way is stopped and waited for.
    ~TaskThread() { StopAndWait(); }

    // From the start until the window has taken the result.
    bool Running() const { return running_; }
    // Runs the task and tells `window`. `writesBatchFile` is the batch file option as the task
    // starts; it may change meanwhile.
    void Start(HWND window, TaskInputs inputs, bool writesBatchFile);
    void SetWritesBatchFile(bool writes) { writesBatchFile_.store(writes); }
    void RequestStop() { stop_.Request(); }
    // For a progress message: the latest share done, 0 to 100.
    float TakeProgress();
    // For the ended message: waits for the thread (which has already finished its work) and
    // hands over what happened.
    TaskResult TakeResult();
    // Stops a task under way and waits until it has removed its temporary files; its ended
    // message still comes. For what cannot wait for the user: the session ending, a power action.
    void StopAndWait();

private:
    void Report(float percent);

    HWND window_ = nullptr;
    bool running_ = false;  // the window's own
    std::thread worker_;
    StopFlag stop_;
    std::atomic<bool> writesBatchFile_{false};
    std::atomic<float> percent_{0};
    std::atomic<bool> progressPosted_{false};
    std::chrono::steady_clock::time_point lastPost_{};  // the worker's own
    TaskResult result_;                                 // written by the worker before it posts the end
};

}  // namespace quilvane::app
