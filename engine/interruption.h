#pragma once
// Requests to end the program: Ctrl+C, termination, the console or the session closing. A
// request only raises a flag; the task under way sees it between two chunks of its copy, stops,
// and removes its temporary files on the way out, so nothing is left half-written and nothing
// that was there before is replaced.

namespace quilvane {

// Catches the requests the platform delivers to a console program. A second request while the
// first is still being served ends the program at once.
void InstallInterruptHandlers();

bool InterruptRequested();
void RequestInterrupt();
// Forgets a request; for tests, which interrupt tasks on purpose.
void ClearInterrupt();

// Ends the program the way the request would have ended it; called once the task has cleaned up.
[[noreturn]] void EndAsInterrupted();

}  // namespace quilvane
