// A task that dies after a given number of its moves into place, leaving the folder as a crash,
// a kill or a power cut would: no destructor runs, and the system closes its files.
//   crashing_task MOVES split SOURCE SIZE_KB TARGET [bat]
//   crashing_task MOVES merge DESCRIPTOR TARGET
// Exit status 77 when it died, 0 when the task ended before, 1 when it failed.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "task.h"

namespace {

using namespace quilvane;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 5) return 2;
    const int movesBeforeDeath = std::atoi(argv[1]);
    const std::string command = argv[2];
    TaskInputs inputs;
    inputs.sourcePath = argv[3];
    if (command == "split") {
        if (argc < 6) return 2;
        inputs.sizeText = argv[4];
        inputs.targetFolder = argv[5];
    } else {
        inputs.splitMode = false;
        inputs.targetFolder = argv[4];
    }
    const bool batch = argc > 6;
    TaskOptions options;
    options.wantsSplitBatchFile = [batch] { return batch; };
    CopyLimits limits;
    int moves = 0;
    limits.afterEachMove = [&] {
        if (++moves == movesBeforeDeath) std::_Exit(77);
    };
    const StopFlag neverStopped;
    const TaskResult result = RunTask(inputs, options, {}, neverStopped, limits);
    for (const Notice& notice : result.notices) std::fprintf(stderr, "%s\n", notice.text.c_str());
    return result.outcome == TaskOutcome::Done ? 0 : 1;
}
