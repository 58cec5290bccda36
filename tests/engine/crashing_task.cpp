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

class QuietHost : public TaskHost {
public:
    explicit QuietHost(bool batch) : batch_(batch) {}
    void ShowNotice(const std::string& text, NoticeKind) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void SetProgress(float) override {}
    void LetPendingMessagesRun() override {}
    bool WantsSplitBatchFile() override { return batch_; }
    bool ClosesAfterSuccess() override { return false; }
    void CloseMainWindow() override {}

private:
    bool batch_;
};

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
    QuietHost host(argc > 6);
    CopyLimits limits;
    int moves = 0;
    limits.afterEachMove = [&] {
        if (++moves == movesBeforeDeath) std::_Exit(77);
    };
    return StartTask(inputs, host, limits) == TaskOutcome::Done ? 0 : 1;
}
