#pragma once
// The start button's work: the checks every task shares, then a split, a merge from a
// descriptor or a merge of a list of files. The window (or the command-line tool) hands in its
// values and gets back what happened; the engine shows nothing itself and may run on a thread
// of its own.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "block_plan.h"
#include "stop_flag.h"

namespace quilvane {

enum class SizeUnit { Kilobytes, Megabytes };

// The window's values, taken once when the start button is pressed.
struct TaskInputs {
    bool splitMode = true;         // "分割文件" selected; else "合并文件"
    std::string sourcePath;        // the file to split, or the descriptor to merge from
    std::string targetFolder;      // the target folder as typed or chosen
    std::string sizeText = "100";  // piece size, decimal digits as typed
    SizeUnit unit = SizeUnit::Kilobytes;
    bool listMode = false;                 // "允许添加多个文件进行合并" checked
    std::vector<std::string> listEntries;  // the files of a list merge, in order
    int selectedEntry = -1;                // the list entry that names the result, -1 for none
    bool verifyPieces = true;              // a merge checks the pieces against their checksum list
};

// What may change while the task runs. Called on the thread that runs the task: the caller
// makes each callable safe to call from there.
struct TaskOptions {
    // Whether a split also writes its batch file. Asked before the split, so that a batch file
    // that could not be written stops it before anything is written, and again once the copy
    // has finished, so that a change during it counts. Unset: no batch file.
    std::function<bool()> wantsSplitBatchFile;
};

// The share of the copy done, 0 to 100, after each block; 100 after the last. Called on the
// thread that runs the task. The engine never empties the bar: the caller does once the task
// has ended, whatever its outcome.
using TaskProgress = std::function<void(float percent)>;

// Sizes the engine copies with; tests make the block small to cover many blocks cheaply.
struct CopyLimits {
    std::uint64_t blockSize = kCopyBlockSize;
    // Bytes held in memory at once, and copied between two looks at the stop flag.
    std::size_t chunkSize = 4 * 1024 * 1024;
    // Runs after every move of an output into place; tests end the process there, as a crash would.
    std::function<void()> afterEachMove;
};

enum class NoticeKind {
    Success,
    Failure,
    Info,  // said on the way, the task went on: a dead run's moves were rolled back
};

struct Notice {
    std::string text;
    NoticeKind kind;
    friend bool operator==(const Notice&, const Notice&) = default;
};

enum class TaskOutcome {
    Done,
    Failed,
    Stopped,  // a stop was requested: the temporary files are gone, every old file is unchanged
};

struct TaskResult {
    TaskOutcome outcome = TaskOutcome::Failed;
    // What to tell the user, in order: any Info notices said on the way, then one Success or
    // Failure notice (texts::kInterrupted for a stop).
    std::vector<Notice> notices;
};

// The start button: the shared checks, then exactly one task. Returns once the task has ended
// and cleaned up; a stop requested while its outputs are being moved into place lets that step
// complete or undoes it whole.
TaskResult RunTask(const TaskInputs& inputs, const TaskOptions& options, const TaskProgress& progress,
                   const StopFlag& stop, const CopyLimits& limits = {});

}  // namespace quilvane
