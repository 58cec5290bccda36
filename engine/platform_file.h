#pragma once
// Files by UTF-8 path, the same on every platform. Each failure comes back as a message that
// names the file and the system's reason.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "status.h"

namespace quilvane {

// The platform's folder separator, and whether a character separates folders there.
extern const char kPathSeparator;
bool IsPathSeparator(char c);
// Whether a bare name can stand for one file in a folder (no separator, not "." or "..").
bool IsPlainFileName(const std::string& name);

class File {
public:
    static Result<File> OpenForReading(const std::string& path);
    // Creates the file, or truncates the one that is there.
    static Result<File> Create(const std::string& path);
    // Creates a new file beside `path` with a name nobody uses yet, for writing in place of it.
    static Result<File> CreateTemporaryBeside(const std::string& path);

    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    const std::string& path() const { return path_; }
    Result<std::uint64_t> Length() const;
    // Reads exactly `size` bytes; a file that ends earlier is a failure.
    Status ReadAt(std::uint64_t offset, char* buffer, std::size_t size) const;
    Status WriteAt(std::uint64_t offset, const char* data, std::size_t size);
    // Copies `size` bytes from `source` at `sourceOffset` to this file at `offset`, through
    // the kernel where it can, else through `buffer`.
    Status CopyFrom(const File& source, std::uint64_t sourceOffset, std::uint64_t offset,
                    std::uint64_t size, char* buffer, std::size_t bufferSize);
    // Closing can fail too (data that did not reach the disk); the failure names the file.
    Status Close();

private:
    using NativeHandle = std::intptr_t;
    File(NativeHandle handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    void Release();

    NativeHandle handle_;
    std::string path_;
};

// True when the path names an existing file (not a folder).
bool FileExists(const std::string& path);
// True when the path names an existing folder.
bool FolderExists(const std::string& path);
Result<std::uint64_t> FileLength(const std::string& path);
// Removes a file; a file that is not there is no failure.
Status RemoveFile(const std::string& path);
// Moves `from` over `to`, replacing what is there in one step.
Status MoveFileOver(const std::string& from, const std::string& to);

// Whether two paths reach the same file (links, case and spelling aside); false when either
// does not exist.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace quilvane
