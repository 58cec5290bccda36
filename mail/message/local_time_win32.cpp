#include "local_time.h"

#include <ctime>

namespace quilvane::mail {

int UtcOffsetMinutes(std::int64_t unixTime) {
    const __time64_t when = unixTime;
    std::tm local{};
    if (_localtime64_s(&local, &when) != 0) return 0;
    // The local wall-clock time read as if it were UTC, less the moment itself.
    return static_cast<int>((_mkgmtime64(&local) - when) / 60);
}

}  // namespace quilvane::mail
