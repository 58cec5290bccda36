#pragma once
// Which processes are running: temporary files carry their writer's process number, so a later
// task can tell the files of a program that has ended from those of one still at work.

#include <cstdint>

namespace quilvane {

std::uint32_t ThisProcessId();
bool ProcessIsRunning(std::uint32_t id);

}  // namespace quilvane
