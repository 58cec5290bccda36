#include "task_thread.h"

#include "guarded.h"
#include "window.h"

namespace quilvane::app {
namespace {

constexpr std::chrono::milliseconds kProgressInterval{33};

}  // namespace

void TaskThread::Start(HWND window, TaskInputs inputs, bool writesBatchFile) {
    window_ = window;
    running_ = true;
    stop_.Clear();
    writesBatchFile_.store(writesBatchFile);
    percent_.store(0);
    progressPosted_.store(false);
    result_ = {};
    worker_ = std::thread([this, inputs = std::move(inputs)] {
        TaskOptions options;
        options.wantsSplitBatchFile = [this] { return writesBatchFile_.load(); };
        result_ = Guarded(
            [&] {
                return RunTask(
                    inputs, options, [this](float percent) { Report(percent); }, stop_);
            },
            [](const char* what) {
                const std::string text = std::string(ui::kUnexpectedFailure) + what;
                return TaskResult{TaskOutcome::Failed, {{text, NoticeKind::Failure}}};
            });
        PostMessageW(window_, kEndedMessage, 0, 0);
    });
}

// Only the latest share counts: a message is posted when none is waiting and the last one is a
// thirtieth of a second old, so a split of millions of tiny pieces cannot flood the window.
void TaskThread::Report(float percent) {
    percent_.store(percent);
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPost_ < kProgressInterval || progressPosted_.exchange(true)) return;
    lastPost_ = now;
    PostMessageW(window_, kProgressMessage, 0, 0);
}

float TaskThread::TakeProgress() {
    progressPosted_.store(false);
    return percent_.load();
}

TaskResult TaskThread::TakeResult() {
    if (worker_.joinable()) worker_.join();
    running_ = false;
    return std::move(result_);
}

void TaskThread::StopAndWait() {
    if (!worker_.joinable()) return;
    stop_.Request();
    worker_.join();
}

}  // namespace quilvane::app
