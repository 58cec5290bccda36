#include "interruption.h"

#include <atomic>

namespace quilvane {
namespace {

// Lock-free, so a signal handler or a console handler thread may set it.
std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

}  // namespace

bool InterruptRequested() { return requested.load(); }
void RequestInterrupt() { requested.store(true); }
void ClearInterrupt() { requested.store(false); }

}  // namespace quilvane
