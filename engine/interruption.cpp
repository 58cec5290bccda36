#include "interruption.h"

#include <atomic>

namespace quilvane {
namespace {

// Set up before any code runs, so a signal handler never meets it half made.
constinit StopFlag processInterrupt;
std::atomic<int> uninterruptibleSteps{0};
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

StopFlag& ProcessInterrupt() { return processInterrupt; }

UninterruptibleStep::UninterruptibleStep() { ++uninterruptibleSteps; }
UninterruptibleStep::~UninterruptibleStep() { --uninterruptibleSteps; }
bool InUninterruptibleStep() { return uninterruptibleSteps.load() > 0; }

}  // namespace quilvane
