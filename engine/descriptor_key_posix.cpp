#include "descriptor_key.h"

#include "scramble.h"

namespace quilvane {

std::string DescriptorKey() { return std::string(kDescriptorKey); }

}  // namespace quilvane
