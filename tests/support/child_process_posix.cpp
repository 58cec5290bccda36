#include "child_process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

extern char** environ;

namespace quilvane::testing {

int RunProgramBesideThis(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> words{(std::filesystem::read_symlink("/proc/self/exe").parent_path() / program).string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t child = -1;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace quilvane::testing
