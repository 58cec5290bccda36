#pragma once
// Requests to end the program: Ctrl+C, termination, the console or the session closing. A
// request only raises the process's stop flag, which the command-line tool hands to its task;
// the task sees it between two chunks of its copy, stops, and removes its temporary files on
// the way out, so nothing is left half-written and nothing that was there before is replaced.

#include "stop_flag.h"

namespace quilvane {

// The flag the platform's requests raise.
StopFlag& ProcessInterrupt();

// Catches the requests the platform delivers to a console program. A second request while the
// first is still being served ends the program at once, unless an uninterruptible step runs.
void InstallInterruptHandlers();

// While it lives, a step that must not stop halfway (moving outputs into place) is under way:
// further requests only raise the flag, which the step looks at when it is safe to, and the
// step then completes or rolls back whole.
class UninterruptibleStep {
public:
    UninterruptibleStep();
    ~UninterruptibleStep();
    UninterruptibleStep(const UninterruptibleStep&) = delete;
    UninterruptibleStep& operator=(const UninterruptibleStep&) = delete;
};
bool InUninterruptibleStep();

// Ends the program the way the request would have ended it; called once the task has cleaned up.
[[noreturn]] void EndAsInterrupted();

}  // namespace quilvane
