#pragma once
// The one thing the program takes from its command line: a path to put in as the source.

#include <string>

namespace quilvane::shell {

// Everything after the program's own name, with every double quote removed and nothing else
// parsed: two quoted paths stay one text, blanks between them included.
std::string CommandLinePath(const std::wstring& commandLine);

}  // namespace quilvane::shell
