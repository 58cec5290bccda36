#pragma once
// The outputs of one task, written under temporary names beside their final ones and moved into
// place together once every one of them is complete, as one recoverable step (see
// output_moves.h). Until then, and when moving fails or is stopped, every file that was there
// before stays exactly as it was, and what the task created is removed.
//
// A temporary name carries the writer's process number ("001.pe.quilvane-4242.tmp"), so the
// first file a later task creates in the folder also removes what a killed run of the same task
// left there. Names too long to take the suffix are shortened and told apart by a hash.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "folder_lock.h"
#include "platform_file.h"
#include "status.h"
#include "stop_flag.h"

namespace quilvane {

// Settles, before anything is written, that a file can be written at `path`: its final and its
// temporary path fit the file system, and nothing but a regular file stands there now.
Status CheckOutput(const std::string& path);
// Whether the file system can hold a file of this path and its temporary name.
bool OutputNameFits(const std::string& path);

class StagedFiles {
public:
    // The folder is held by the task's lock for as long as the outputs are staged there. Once
    // `stop` is requested nothing more is created or moved into place.
    StagedFiles(const FolderLock& folder, const StopFlag& stop);
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    // Removes the temporary files of a task that did not commit.
    ~StagedFiles();

    // Adds an output by its bare name after CheckOutput; outputs are numbered from 0 in the
    // order they are planned.
    Status Plan(const std::string& name);
    std::string FinalPath(std::size_t output) const { return folder_ + outputs_[output].name; }
    // Creates the temporary file of a planned output, which failures name by its final path.
    Result<File> Create(std::size_t output);
    // Creates, writes and closes the temporary file of a small output in one step.
    Status Write(std::size_t output, std::string_view bytes);
    // Moves every created output into place. On a failure, or when a stop is requested
    // meanwhile, everything moved so far is put back, and the old files with it.
    Status Commit();
    // Runs after every move into place; tests end the process there, as a crash would.
    void AfterEachMove(std::function<void()> hook) { afterEachMove_ = std::move(hook); }

private:
    enum class State : char { Planned, Created, Placed };
    struct Output {
        std::string name;  // bare, so a piece's stays within the string's own storage
        State state;
    };
    std::string SideName(std::size_t output, const char* kind) const;
    std::string SidePath(std::size_t output, const char* kind) const { return folder_ + SideName(output, kind); }
    // A backup name nothing has yet: an ended run of the same number may have left one.
    std::string FreeBackupName(std::size_t output) const;
    void RemoveStaleTemporaries(std::size_t from) const;
    void RemoveCreated();
    friend void RemoveTemporaryFilesNow();

    std::string folder_;
    const StopFlag& stop_;
    std::size_t longestName_;
    std::uint32_t process_;
    std::vector<Output> outputs_;
    std::size_t swept_ = 0;  // outputs whose stale temporary files are gone
    std::function<void()> afterEachMove_;
};

// For exits the program sees but cannot wait out, such as the session ending: removes the
// temporary files of every task under way at once, from any thread. The caller first requests
// those tasks' stops, so that they create no more.
void RemoveTemporaryFilesNow();

}  // namespace quilvane
