#include "interruption.h"

#include <atomic>

namespace quilvane {
namespace {

// Lock-free, so a signal handler or a console handler thread may set it.
std::atomic<bool> requested{false};
std::atomic<int> uninterruptibleSteps{0};
static_assert(std::atomic<bool>::is_always_lock_free && std::atomic<int>::is_always_lock_free);

}  // namespace

bool InterruptRequested() { return requested.load(); }
void RequestInterrupt() { requested.store(true); }
void ClearInterrupt() { requested.store(false); }

UninterruptibleStep::UninterruptibleStep() { ++uninterruptibleSteps; }
UninterruptibleStep::~UninterruptibleStep() { --uninterruptibleSteps; }
bool InUninterruptibleStep() { return uninterruptibleSteps.load() > 0; }

}  // namespace quilvane
