#pragma once
// What the command-line tool needs of its platform: its arguments as UTF-8, and text
// written so that the user's terminal shows it.

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace quilvane {

std::vector<std::string> Utf8Arguments(int argc, char** argv);
void WriteText(std::FILE* stream, std::string_view utf8);
bool IsTerminal(std::FILE* stream);

}  // namespace quilvane
