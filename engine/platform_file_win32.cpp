#include "platform_file.h"

#include <windows.h>

#include <random>

#include "texts.h"
#include "utf16.h"

namespace quilvane {

const char kPathSeparator = '\\';
bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }
bool IsPlainFileName(const std::string& name) {
    // A colon would name a drive or an alternate stream; the rest cannot stand in a file name.
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string("\\/:*?\"<>|\0", 10)) == std::string::npos;
}

namespace {

std::string Reason(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
        reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring reason = length ? std::wstring(text, length) : L"错误 " + std::to_wstring(error);
    if (text) LocalFree(text);
    while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r' || reason.back() == L' ' ||
                               reason.back() == L'。' || reason.back() == L'.'))
        reason.pop_back();
    return Narrow(reason);
}

HANDLE Native(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }
std::intptr_t Stored(HANDLE handle) { return reinterpret_cast<std::intptr_t>(handle); }
const std::intptr_t kNoHandle = Stored(INVALID_HANDLE_VALUE);

OVERLAPPED At(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

HANDLE OpenNative(const std::string& path, DWORD access, DWORD disposition) {
    return CreateFileW(Widen(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

bool Attributes(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data) {
    return !path.empty() && GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data);
}

}  // namespace

Result<File> File::OpenForReading(const std::string& path) {
    HANDLE handle = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return Status::Fail(texts::OpenFailed(path, Reason(GetLastError())));
    return File(Stored(handle), path);
}

Result<File> File::Create(const std::string& path) {
    HANDLE handle = OpenNative(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (handle == INVALID_HANDLE_VALUE) return Status::Fail(texts::CreateFailed(path, Reason(GetLastError())));
    return File(Stored(handle), path);
}

Result<File> File::CreateTemporaryBeside(const std::string& path) {
    std::random_device entropy;
    for (int attempt = 0;; ++attempt) {
        const std::string candidate = path + ".quilvane-" + std::to_string(entropy() % 1000000) + ".tmp";
        HANDLE handle = OpenNative(candidate, GENERIC_WRITE, CREATE_NEW);
        if (handle != INVALID_HANDLE_VALUE) return File(Stored(handle), candidate);
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS || attempt == 100)
            return Status::Fail(texts::CreateFailed(candidate, Reason(error)));
    }
}

File::File(File&& other) noexcept : handle_(other.handle_), path_(std::move(other.path_)) {
    other.handle_ = kNoHandle;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = other.handle_;
        path_ = std::move(other.path_);
        other.handle_ = kNoHandle;
    }
    return *this;
}

File::~File() { Release(); }

void File::Release() {
    if (handle_ != kNoHandle) CloseHandle(Native(handle_));
    handle_ = kNoHandle;
}

Result<std::uint64_t> File::Length() const {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(Native(handle_), &size)) return Status::Fail(texts::ReadFailed(path_, Reason(GetLastError())));
    return static_cast<std::uint64_t>(size.QuadPart);
}

Status File::ReadAt(std::uint64_t offset, char* buffer, std::size_t size) const {
    while (size > 0) {
        const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        OVERLAPPED where = At(offset);
        DWORD got = 0;
        if (!ReadFile(Native(handle_), buffer, want, &got, &where)) {
            const DWORD error = GetLastError();
            if (error == ERROR_HANDLE_EOF) return Status::Fail(texts::FileShrank(path_));
            return Status::Fail(texts::ReadFailed(path_, Reason(error)));
        }
        if (got == 0) return Status::Fail(texts::FileShrank(path_));
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
        if (!WriteFile(Native(handle_), data, want, &put, &where))
            return Status::Fail(texts::WriteFailed(path_, Reason(GetLastError())));
        data += put;
        size -= put;
        offset += put;
    }
    return Status::Ok();
}

Status File::CopyFrom(const File& source, std::uint64_t sourceOffset, std::uint64_t offset,
                      std::uint64_t size, char* buffer, std::size_t bufferSize) {
    while (size > 0) {
        const std::size_t chunk = size < bufferSize ? static_cast<std::size_t>(size) : bufferSize;
        if (Status read = source.ReadAt(sourceOffset, buffer, chunk); !read) return read;
        if (Status written = WriteAt(offset, buffer, chunk); !written) return written;
        sourceOffset += chunk;
        offset += chunk;
        size -= chunk;
    }
    return Status::Ok();
}

Status File::Close() {
    HANDLE handle = Native(handle_);
    handle_ = kNoHandle;
    if (handle != INVALID_HANDLE_VALUE && !CloseHandle(handle))
        return Status::Fail(texts::WriteFailed(path_, Reason(GetLastError())));
    return Status::Ok();
}

bool FileExists(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return Attributes(path, data) && !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    return Attributes(path, data) && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

Result<std::uint64_t> FileLength(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(Widen(path).c_str(), GetFileExInfoStandard, &data))
        return Status::Fail(texts::OpenFailed(path, Reason(GetLastError())));
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

Status RemoveFile(const std::string& path) {
    if (!DeleteFileW(Widen(path).c_str())) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            return Status::Fail(texts::DeleteFailed(path, Reason(error)));
    }
    return Status::Ok();
}

Status MoveFileOver(const std::string& from, const std::string& to) {
    if (!MoveFileExW(Widen(from).c_str(), Widen(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Status::Fail(texts::ReplaceFailed(to, Reason(GetLastError())));
    return Status::Ok();
}

bool SameFile(const std::string& a, const std::string& b) {
    auto identify = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
        HANDLE handle = CreateFileW(Widen(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return false;
        const bool known = GetFileInformationByHandle(handle, &info);
        CloseHandle(handle);
        return known;
    };
    BY_HANDLE_FILE_INFORMATION first{}, second{};
    return !a.empty() && !b.empty() && identify(a, first) && identify(b, second) &&
           first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh && first.nFileIndexLow == second.nFileIndexLow;
}

}  // namespace quilvane
