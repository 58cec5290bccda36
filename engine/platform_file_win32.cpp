#include "platform_file.h"

#include <windows.h>

#include "paths.h"
#include "texts.h"
#include "utf16.h"
#include "system_reason.h"
#include "win32_paths.h"
#include "win32_owners.h"

namespace quilvane {

const char kPathSeparator = '\\';
bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

namespace {

// CON, PRN, AUX, NUL, COM1 to COM9 and LPT1 to LPT9 name devices, with any extension.
bool IsDeviceName(const std::string& name) {
    std::string stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ') stem.pop_back();
    for (char& c : stem)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
    return stem.size() == 4 && (stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) && stem[3] >= '1' &&
           stem[3] <= '9';
}

}  // namespace

bool IsPlainFileName(const std::string& name) {
    // A colon would name a drive or an alternate stream; the rest cannot stand in a file name,
    // and the system would drop a trailing dot or blank.
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("\\/:*?\"<>|\0", 10)) == std::string::npos && name.back() != '.' &&
           name.back() != ' ' && !IsDeviceName(name);
}

bool SameFileName(const std::string& a, const std::string& b) {
    const std::wstring first = Widen(a), second = Widen(b);
    return CompareStringOrdinal(first.c_str(), static_cast<int>(first.size()), second.c_str(),
                                static_cast<int>(second.size()), TRUE) == CSTR_EQUAL;
}

namespace {

HANDLE Native(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
std::intptr_t Stored(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

inline void EndSearch(HANDLE search) { FindClose(search); }
using FolderSearch = Owned<HANDLE, EndSearch>;

bool Attributes(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return !path.empty() && GetFileAttributesExW(NativePath(path).c_str(), GetFileExInfoStandard, &data);
}

}  // namespace

Result<File> File::OpenForReading(const std::string& path) {
    HANDLE handle =
        CreateFileW(NativePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Status::Fail(texts::OpenFailed(path, SystemReason(GetLastError())));
    UniqueHandle opened(handle);
    if (GetFileType(handle) != FILE_TYPE_DISK) return Status::Fail(texts::NotARegularFile(path));
    return File(Stored(opened.Disown()), path, path);
}

Result<File> File::CreateNew(const std::string& path, const std::string& shownAs) {
    HANDLE handle = CreateFileW(NativePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Status::Fail(texts::CreateFailed(shownAs, SystemReason(GetLastError())));
    return File(Stored(handle), path, shownAs);
}

void File::CloseNative(NativeHandle handle) { CloseHandle(Native(handle)); }

Result<std::uint64_t> File::Length() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(Native(handle_.get()), &size))
        return Status::Fail(texts::ReadFailed(shown_, SystemReason(GetLastError())));
    return static_cast<std::uint64_t>(size.QuadPart);
}

Status File::ReadAt(std::uint64_t offset, char* buffer, std::size_t size) const {
    while (size > 0) {
        const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        OVERLAPPED where = At(offset);
        DWORD got = 0;
        if (!ReadFile(Native(handle_.get()), buffer, want, &got, &where)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF) return Status::Fail(texts::FileShrank(shown_));
            return Status::Fail(texts::ReadFailed(shown_, SystemReason(error)));
        }
        if (got == 0) return Status::Fail(texts::FileShrank(shown_));
        buffer += got;
        size -= got;
        offset += got;
    }
    return Status::Ok();
}

Status File::WriteAt(std::uint64_t offset, const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        OVERLAPPED where = At(offset);
        DWORD put = 0;
        if (!WriteFile(Native(handle_.get()), data, want, &put, &where))
            return Status::Fail(texts::WriteFailed(shown_, SystemReason(GetLastError())));
        // Nothing written and no error: the device takes no more, so waiting would never end.
        if (put == 0) return Status::Fail(texts::WriteFailed(shown_, SystemReason(ERROR_DISK_FULL)));
        data += put;
        size -= put;
        offset += put;
    }
    return Status::Ok();
}

Status File::CopyFrom(const File& source, std::uint64_t sourceOffset, std::uint64_t offset, std::uint64_t size,
                      char* buffer, std::size_t bufferSize, const StopFlag& stop) {
    return CopyThroughBuffer(source, sourceOffset, offset, size, buffer, bufferSize, stop);
}

Status File::Flush() {
    if (!FlushFileBuffers(Native(handle_.get())))
        return Status::Fail(texts::WriteFailed(shown_, SystemReason(GetLastError())));
    return Status::Ok();
}

Status File::Close() {
    HANDLE handle = Native(handle_.Disown());
    if (handle != INVALID_HANDLE_VALUE && !CloseHandle(handle))
        return Status::Fail(texts::WriteFailed(shown_, SystemReason(GetLastError())));
    return Status::Ok();
}

PathKind KindOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!Attributes(path, data)) return PathKind::Missing;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Folder;
    // Devices and pipes answer attribute queries as if they were files.
    const bool device = path.rfind("\\\\.\\", 0) == 0 || IsDeviceName(NameOf(path));
    return device ? PathKind::Other : PathKind::File;
}

Result<std::uint64_t> FileLength(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(NativePath(path).c_str(), GetFileExInfoStandard, &data))
        return Status::Fail(texts::OpenFailed(path, SystemReason(GetLastError())));
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool IsReadOnly(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return Attributes(path, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
}

Status RemoveFile(const std::string& path) {
    if (!DeleteFileW(NativePath(path).c_str())) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            return Status::Fail(texts::DeleteFailed(path, SystemReason(error)));
    }
    return Status::Ok();
}

Status MoveFileOver(const std::string& from, const std::string& to, const std::string& shownAs) {
    if (!MoveFileExW(NativePath(from).c_str(), NativePath(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Status::Fail(texts::ReplaceFailed(shownAs, SystemReason(GetLastError())));
    return Status::Ok();
}

Status MoveFileToNewName(const std::string& from, const std::string& to, const std::string& shownAs) {
    if (!MoveFileExW(NativePath(from).c_str(), NativePath(to).c_str(), MOVEFILE_WRITE_THROUGH))
        return Status::Fail(texts::ReplaceFailed(shownAs, SystemReason(GetLastError())));
    return Status::Ok();
}

Status ReplaceKeepingBackup(const std::string& replacement, const std::string& target, const std::string& backup,
                            const std::string& shownAs) {
    const std::wstring targetPath = NativePath(target), backupPath = NativePath(backup);
    // The system's replace keeps the old file's attributes and permissions. With a hard link
    // as the backup it needs to make none of its own, and the name stays taken throughout.
    const bool linked = CreateHardLinkW(backupPath.c_str(), targetPath.c_str(), nullptr);
    constexpr DWORD kFlags = REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS;
    if (ReplaceFileW(targetPath.c_str(), NativePath(replacement).c_str(), linked ? nullptr : backupPath.c_str(), kFlags,
                     nullptr, nullptr))
        return Status::Ok();
    const DWORD error = GetLastError();
    // A replace that failed halfway may have left the old file under the backup's name only.
    if (GetFileAttributesW(targetPath.c_str()) == INVALID_FILE_ATTRIBUTES)
        MoveFileExW(backupPath.c_str(), targetPath.c_str(), MOVEFILE_WRITE_THROUGH);
    else if (linked)
        DeleteFileW(backupPath.c_str());
    return Status::Fail(texts::ReplaceFailed(shownAs, SystemReason(error)));
}

namespace {

// FlushFileBuffers needs a handle that may write; nothing is written through it.
Status Flush(const std::string& path, DWORD flags, const std::string& shownAs) {
    HANDLE handle =
        CreateFileW(NativePath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Status::Fail(texts::WriteFailed(shownAs, SystemReason(GetLastError())));
    const UniqueHandle opened(handle);
    const bool flushed = FlushFileBuffers(handle);
    const DWORD error = GetLastError();
    return flushed ? Status::Ok() : Status::Fail(texts::WriteFailed(shownAs, SystemReason(error)));
}

}  // namespace

Status FlushToDisk(const std::string& path, const std::string& shownAs) {
    return Flush(path, FILE_ATTRIBUTE_NORMAL, shownAs);
}

// Renames are written through as they happen; a folder that cannot be flushed on its own (most
// file systems refuse) has nothing left to flush.
Status FlushFolder(const std::string& folder) {
    (void)Flush(folder.empty() ? "." : folder, FILE_FLAG_BACKUP_SEMANTICS, folder);
    return Status::Ok();
}

Result<std::vector<std::string>> ListFolder(const std::string& folder) {
    const std::string pattern = (folder.empty() || IsPathSeparator(folder.back()) ? folder : folder + "\\") + "*";
    WIN32_FIND_DATAW found{};
    HANDLE search =
        FindFirstFileExW(NativePath(pattern).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return Status::Fail(texts::OpenFailed(folder, SystemReason(GetLastError())));
    const FolderSearch searching(search);
    std::vector<std::string> names;
    do {
        const std::string name = Narrow(found.cFileName);
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    return names;
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    if (path.empty()) return std::nullopt;
    HANDLE handle = CreateFileW(NativePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    const UniqueHandle opened(handle);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(handle, &info)) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

std::size_t NameLength(std::string_view name) { return Widen(name).size(); }

// Every file system Windows writes to (NTFS, FAT with long names, exFAT, ReFS) holds names of
// 255 UTF-16 units.
std::size_t LongestNameIn(const std::string&) { return 255; }

// The "\\?\" form reaches paths up to 32,767 UTF-16 units.
bool PathLengthFits(const std::string& path) { return NativePath(path).size() < 32767; }

}  // namespace quilvane
