#pragma once
// Files by UTF-8 path, the same on every platform. Each failure comes back as a message that
// names the file and the system's reason.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "owned.h"
#include "status.h"
#include "stop_flag.h"

namespace quilvane {

// The platform's folder separator, and whether a character separates folders there.
extern const char kPathSeparator;
bool IsPathSeparator(char c);
// Whether a bare name can stand for one ordinary file in a folder (no separator, not "." or
// "..", no device name).
bool IsPlainFileName(const std::string& name);
// Whether two bare names name the same file in one folder (on Windows case does not count).
bool SameFileName(const std::string& a, const std::string& b);

class File {
public:
    // Opens an existing regular file; a pipe, a device or a folder is refused, never waited on.
    static Result<File> OpenForReading(const std::string& path);
    // Creates a file that must not exist yet. Failures name `shownAs`, the file the user knows
    // of, rather than `path` when that is an internal name.
    static Result<File> CreateNew(const std::string& path, const std::string& shownAs);

    File(File&& other) noexcept = default;
    File& operator=(File&& other) noexcept = default;

    const std::string& path() const { return path_; }
    Result<std::uint64_t> Length() const;
    // Reads exactly `size` bytes; a file that ends earlier is a failure.
    Status ReadAt(std::uint64_t offset, char* buffer, std::size_t size) const;
    Status WriteAt(std::uint64_t offset, const char* data, std::size_t size);
    // Copies `size` bytes from `source` at `sourceOffset` to this file at `offset`, through
    // the kernel where it can, else through `buffer`, `bufferSize` bytes at a time. Fails with
    // texts::kInterrupted before the next chunk once `stop` is requested.
    Status CopyFrom(const File& source, std::uint64_t sourceOffset, std::uint64_t offset, std::uint64_t size,
                    char* buffer, std::size_t bufferSize, const StopFlag& stop);
    // Makes what was written durable, as FlushToDisk does.
    Status Flush();
    // Closing can fail too (data that did not reach the disk); the failure names the file.
    Status Close();

private:
    using NativeHandle = std::intptr_t;
    // The platform's close; -1 is no file on both platforms (INVALID_HANDLE_VALUE, no descriptor).
    static void CloseNative(NativeHandle handle);
    using OwnedHandle = Owned<NativeHandle, CloseNative, -1>;
    File(NativeHandle handle, std::string path, std::string shown)
        : handle_(handle), path_(std::move(path)), shown_(std::move(shown)) {}
    // The portable part of CopyFrom: read a chunk, write it, until `size` bytes are done.
    Status CopyThroughBuffer(const File& source, std::uint64_t sourceOffset, std::uint64_t offset, std::uint64_t size,
                             char* buffer, std::size_t bufferSize, const StopFlag& stop);

    OwnedHandle handle_;
    std::string path_;
    std::string shown_;  // the name failures give
};

// What a path names, links followed. Other is neither a regular file nor a folder: a pipe, a
// socket, a device.
enum class PathKind { Missing, File, Folder, Other };
PathKind KindOf(const std::string& path);
// True when the path names something that exists and is no folder.
inline bool FileExists(const std::string& path) {
    const PathKind kind = KindOf(path);
    return kind == PathKind::File || kind == PathKind::Other;
}
inline bool FolderExists(const std::string& path) { return KindOf(path) == PathKind::Folder; }

Result<std::uint64_t> FileLength(const std::string& path);
// Whether a file is marked read-only: its owner asked that it not be changed (on POSIX, no one
// may write to it).
bool IsReadOnly(const std::string& path);
// Removes a file; a file that is not there is no failure.
Status RemoveFile(const std::string& path);
// Moves `from` over `to`, replacing what is there in one step. Failures name `shownAs`.
Status MoveFileOver(const std::string& from, const std::string& to, const std::string& shownAs);
// Moves `from` to `to`, which must not exist: a file that took the name meanwhile stays.
Status MoveFileToNewName(const std::string& from, const std::string& to, const std::string& shownAs);
// Puts `replacement` in place of the existing file `target`, which keeps the old file's
// permissions (the mode on POSIX, what the system's replace keeps on Windows); the old file
// stays reachable as `backup`. Where the file system has hard links the backup is a second
// name of the old file and `target` never stops naming a whole file; elsewhere the old file
// steps aside for an instant. On a failure the old file is under `target` again.
Status ReplaceKeepingBackup(const std::string& replacement, const std::string& target, const std::string& backup,
                            const std::string& shownAs);
// Makes a file's written bytes durable, so a power cut cannot leave it empty once renamed.
Status FlushToDisk(const std::string& path, const std::string& shownAs);
// Makes the renames and removals in a folder durable.
Status FlushFolder(const std::string& folder);
// The names in a folder ("" is the current folder), without "." and "..".
Result<std::vector<std::string>> ListFolder(const std::string& folder);

// Which file a path reaches, links, case and spelling aside: the same file has the same
// identity under every name it has, and keeps it when renamed.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
std::optional<FileIdentity> IdentityOf(const std::string& path);

// Whether two paths reach the same file; false when either does not exist.
bool SameFile(const std::string& a, const std::string& b);

// The file system's limits, counted as it counts them: bytes here, UTF-16 units on Windows.
std::size_t NameLength(std::string_view name);
std::size_t LongestNameIn(const std::string& folder);
// Whether the system can reach a file by this whole path.
bool PathLengthFits(const std::string& path);

}  // namespace quilvane
