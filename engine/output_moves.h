#pragma once
// Moving a task's finished outputs into place as one recoverable step, and rolling back the
// step of a run that died halfway. Internal to the engine.
//
// Before the first move the outputs are flushed to disk and the moves are written down in the
// folder's journal; after the last one the folder is flushed and the journal marked done. A
// failure or a request to stop between two moves puts every old file back and removes the new
// ones; a run killed between two moves is rolled back the same way, from its journal, by the
// next task that takes the folder.

#include <functional>
#include <string>
#include <vector>

#include "folder_lock.h"
#include "journal_format.h"
#include "status.h"
#include "stop_flag.h"

namespace quilvane {

// `folder` is held by this task's lock. `stop` is looked at before each move. `afterEachMove`,
// when set, runs after every move (tests end the process there, as a crash would).
Status PlaceOutputs(const std::string& folder, const std::vector<PlannedMove>& moves, const StopFlag& stop,
                    const std::function<void()>& afterEachMove);

// A folder taken for one task: its lock, and whether a dead run's moves had to be rolled back.
struct TakenFolder {
    FolderLock lock;
    bool rolledBack = false;
};
// Fails when another task holds the folder, it cannot be written to (for Use::Write), or a dead
// run's journal cannot be read or its moves cannot be undone; the task must not go on then.
Result<TakenFolder> TakeFolder(const std::string& folder, FolderLock::Use use);

}  // namespace quilvane
