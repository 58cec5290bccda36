#pragma once
// How the program takes a path apart. Folder paths end in the platform's separator and are
// joined to names by plain concatenation.

#include <string>

namespace quilvane {

// Everything after the last separator (the whole path when it holds none).
std::string NameOf(const std::string& path);
// The name without its last extension; a leading dot is no extension (".profile" stays).
std::string BaseOf(const std::string& path);
// The path up to and including its last separator; empty when it holds none.
std::string FolderOf(const std::string& path);
// Appends the separator unless the path already ends in one; an empty path stays empty.
std::string EnsureTrailingSlash(std::string path);

}  // namespace quilvane
