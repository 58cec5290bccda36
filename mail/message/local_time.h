#pragma once
// How far the local time zone is from UTC at a given moment, in minutes (east positive).

#include <cstdint>

namespace quilvane::mail {

int UtcOffsetMinutes(std::int64_t unixTime);

}  // namespace quilvane::mail
