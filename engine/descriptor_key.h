#pragma once

#include <string>

namespace quilvane {

// The key a descriptor's field is scrambled with. Windows executables carry it in their
// string table; it is loaded each time a descriptor is written or read.
std::string DescriptorKey();

}  // namespace quilvane
