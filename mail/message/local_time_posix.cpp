#include "local_time.h"

#include <ctime>

namespace quilvane::mail {

int UtcOffsetMinutes(std::int64_t unixTime) {
    const std::time_t when = static_cast<std::time_t>(unixTime);
    std::tm local{};
    if (!localtime_r(&when, &local)) return 0;
    return static_cast<int>(local.tm_gmtoff / 60);
}

}  // namespace quilvane::mail
