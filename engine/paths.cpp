#include "paths.h"

#include "platform_file.h"

namespace quilvane {
namespace {

std::size_t NameStart(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsPathSeparator(path[i - 1])) return i;
    return 0;
}

}  // namespace

std::string NameOf(const std::string& path) { return path.substr(NameStart(path)); }

std::string BaseOf(const std::string& path) {
    const std::string name = NameOf(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string FolderOf(const std::string& path) { return path.substr(0, NameStart(path)); }

std::string EnsureTrailingSlash(std::string path) {
    if (!path.empty() && !IsPathSeparator(path.back())) path += kPathSeparator;
    return path;
}

}  // namespace quilvane
