#pragma once
// Temporary folders, generated file contents and a host that records what a task reports.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "task.h"

namespace quilvane::testing {

// A fresh folder, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path with a trailing separator, as the window holds target folders.
    std::string Path() const;
    // A path inside the folder.
    std::string operator/(const std::string& name) const { return Path() + name; }
    // Makes a subfolder and returns its path with a trailing separator.
    std::string Subfolder(const std::string& name) const;
    std::vector<std::string> Names() const;

private:
    std::filesystem::path root_;
};

// Bytes that differ from position to position, so a misplaced block shows.
std::string PatternBytes(std::size_t size, unsigned seed = 1);
void WriteFile(const std::string& path, const std::string& bytes);
// A file of `size` zero bytes that takes no room on disk.
void MakeSparseFile(const std::string& path, std::uint64_t size);
std::string ReadFile(const std::string& path);
bool Exists(const std::string& path);
// Compares file contents without printing kilobytes of bytes when they differ.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected);
// The names in a folder, sorted.
std::vector<std::string> NamesIn(const std::string& folder);

// Stands for the window: hands a task its options, progress and stop flag, and records what
// the task reports.
class RecordingHost {
public:
    std::vector<std::pair<std::string, NoticeKind>> notices;
    std::vector<float> progress;
    bool batchFileWanted = false;  // asked before the split and after its copy
    StopFlag stop;
    // The flag the task looks at: the host's own unless the test hands it another.
    const StopFlag* stopFlag = &stop;
    // Runs after each progress report with the number of reports so far, to act in the middle of a task.
    std::function<void(int)> duringTask;

    // Everything shown, for failure messages.
    std::string Notices() const {
        std::string all;
        for (const auto& notice : notices) all += "[" + notice.first + "] ";
        return all;
    }
    std::string OnlyNotice() const {
        return notices.size() == 1 ? notices[0].first : "<" + std::to_string(notices.size()) + " notices>";
    }
};

// Runs the task as the window does, recording its notices and progress in `host`.
TaskOutcome RunRecorded(const TaskInputs& inputs, RecordingHost& host, const CopyLimits& limits = {});

// Forgets, at the end of a test, a request to end the program that the test made on purpose.
struct ClearsInterrupt {
    ClearsInterrupt() = default;
    ClearsInterrupt(const ClearsInterrupt&) = delete;
    ClearsInterrupt& operator=(const ClearsInterrupt&) = delete;
    ~ClearsInterrupt();
};

// Writes `bytes` to `source` and splits it into `folder` with pieces of `size` KB, as a
// precondition of a test.
void MakePieces(const std::string& source, const std::string& bytes, const std::string& folder,
                const std::string& size = "1");

// Marks a file read-only until the end of the test, when it can be changed and removed again.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(std::string path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

private:
    std::string path_;
};

// Names in a folder that are temporary files of the program.
std::vector<std::string> TemporaryNamesIn(const std::string& folder);

// Inputs for splitting `source` into `target` with a piece size such as "100" KB.
TaskInputs SplitInputs(const std::string& source, const std::string& target, const std::string& size,
                       SizeUnit unit = SizeUnit::Kilobytes);
TaskInputs MergeInputs(const std::string& descriptor, const std::string& target);
TaskInputs ListInputs(std::vector<std::string> entries, const std::string& target, int selected = -1);

}  // namespace quilvane::testing
