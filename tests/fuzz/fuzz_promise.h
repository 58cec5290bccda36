#pragma once
// What a fuzz target holds the code to beyond not crashing. A broken promise stops the run as
// a sanitizer's finding does, and says which promise it was.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace quilvane::fuzz {

inline void Promise(bool kept, const char* promise) {
    if (kept) return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

inline std::string_view Text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace quilvane::fuzz
