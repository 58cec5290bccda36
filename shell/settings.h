#pragma once
// The program's folder and its settings file "Sysset.ini" beside the executable, one value at
// a time through the system's private-profile functions.

#include <string>

namespace quilvane::shell {

// The executable's folder, ending in "\" (a drive root keeps its single one).
std::string ExecutableFolder();

class Settings {
public:
    explicit Settings(std::string appDir) : file_(std::move(appDir) + "Sysset.ini") {}

    // "" for a missing file, section or key; at most 254 bytes of a value.
    std::string Read(const std::string& section, const std::string& key) const;
    // Failures (a folder the user may not write to) are silent: the option simply is not kept.
    void Write(const std::string& section, const std::string& key, const std::string& value) const;
    const std::string& file() const { return file_; }

private:
    std::string file_;
};

}  // namespace quilvane::shell
