#pragma once
// The start button's work: the checks every task shares, then a split, a merge from a
// descriptor or a merge of a list of files. The window (or the command-line tool) hands in
// its values and reports through TaskHost; the engine shows nothing itself.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "block_plan.h"

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

enum class NoticeKind {
    Success,
    Failure,
    Info,  // said on the way, the task goes on: a dead run's moves were rolled back
};

class TaskHost {
public:
    virtual ~TaskHost() = default;
    // A modal notice; returns when the user has closed it.
    virtual void ShowNotice(const std::string& text, NoticeKind kind) = 0;
    virtual void SetProgress(float percent) = 0;
    // Lets the window repaint and react between blocks.
    virtual void LetPendingMessagesRun() = 0;
    // Asked before the split, so that a batch file that could not be written stops it before
    // anything is written, and again once the copy has finished, so a change during it counts.
    virtual bool WantsSplitBatchFile() = 0;
    virtual bool ClosesAfterSuccess() = 0;
    virtual void CloseMainWindow() = 0;
};

// Sizes the engine copies with; tests make the block small to cover many blocks cheaply.
struct CopyLimits {
    std::uint64_t blockSize = kCopyBlockSize;
    std::size_t chunkSize = 4 * 1024 * 1024;  // bytes held in memory at once
    // Runs after every move of an output into place; tests end the process there, as a crash would.
    std::function<void()> afterEachMove;
};

enum class TaskOutcome { Done, Failed };

// The start button: checks, then exactly one task.
TaskOutcome StartTask(const TaskInputs& inputs, TaskHost& host, const CopyLimits& limits = {});

TaskOutcome SplitFile(const TaskInputs& inputs, TaskHost& host, const CopyLimits& limits = {});
TaskOutcome MergeFromDescriptor(const TaskInputs& inputs, TaskHost& host, const CopyLimits& limits = {});
TaskOutcome MergeFileList(const TaskInputs& inputs, TaskHost& host, const CopyLimits& limits = {});

}  // namespace quilvane
