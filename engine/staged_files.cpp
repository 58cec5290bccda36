#include "staged_files.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <optional>
#include <set>

#include "journal_format.h"
#include "output_moves.h"
#include "paths.h"
#include "process.h"
#include "texts.h"
#include "utf8.h"

namespace quilvane {
namespace {

constexpr std::string_view kMarker = ".quilvane-";
// ".quilvane-", a process number of up to ten digits, a backup's "-NNN", ".tmp" or ".bak".
constexpr std::size_t kSuffixRoom = kMarker.size() + 10 + 4 + 4;
constexpr int kBackupNamesToTry = 1000;
constexpr std::size_t kHashRoom = 9;  // "~" and eight hex digits

// Every task under way, for RemoveTemporaryFilesNow, which may run on another thread than the
// tasks: the mutex also guards each task's list of outputs and their states while they change.
std::vector<StagedFiles*>& Registry() {
    static std::vector<StagedFiles*> tasks;
    return tasks;
}
std::mutex& RegistryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::uint32_t NameHash(const std::string& name) {
    std::uint32_t hash = 2166136261u;
    for (char c : name) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

// The part of a temporary name before its suffix: the final name itself, or, when that leaves
// no room for the suffix, as much of it as fits (whole characters only) and a hash of the rest.
std::string Stem(const std::string& name, std::size_t longestName) {
    if (NameLength(name) + kSuffixRoom <= longestName) return name;
    const std::size_t room = longestName > kSuffixRoom + kHashRoom ? longestName - kSuffixRoom - kHashRoom : 0;
    std::size_t kept = 0;
    while (kept < name.size()) {
        const std::size_t next = kept + Utf8CharacterAt(name, kept).length;
        if (NameLength(std::string_view(name).substr(0, next)) > room) break;
        kept = next;
    }
    char hash[16];
    std::snprintf(hash, sizeof hash, "~%08x", static_cast<unsigned>(NameHash(name)));
    return name.substr(0, kept) + hash;
}

std::string SideNameOf(const std::string& name, std::size_t longestName, std::uint32_t process, const char* kind) {
    return Stem(name, longestName) + std::string(kMarker) + std::to_string(process) + "." + kind;
}

// "STEM.quilvane-PID.tmp" gives STEM and PID.
bool ParseTemporaryName(const std::string& name, std::string& stem, std::uint32_t& process) {
    constexpr std::string_view kEnd = ".tmp";
    if (name.size() < kEnd.size() || name.compare(name.size() - kEnd.size(), kEnd.size(), kEnd) != 0) return false;
    const std::size_t marker = name.rfind(kMarker);
    if (marker == std::string::npos) return false;
    const std::string digits =
        name.substr(marker + kMarker.size(), name.size() - kEnd.size() - marker - kMarker.size());
    if (digits.empty() || digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long long number = std::stoull(digits);
    if (number > UINT32_MAX) return false;
    stem = name.substr(0, marker);
    process = static_cast<std::uint32_t>(number);
    return true;
}

// Only a regular file that may be changed is replaced; a folder, a device or a read-only file
// of the same name stops the task. (A read-only file would also outlive its own backup, which
// the system refuses to delete.)
Status CheckReplaceable(PathKind kind, const std::string& path) {
    switch (kind) {
    case PathKind::Folder: return Status::Fail(texts::OutputIsFolder(path));
    case PathKind::Other: return Status::Fail(texts::NotARegularFile(path));
    case PathKind::File: return IsReadOnly(path) ? Status::Fail(texts::OutputIsReadOnly(path)) : Status::Ok();
    default: return Status::Ok();
    }
}

bool NameFitsIn(const std::string& folder, const std::string& name, std::size_t longestName) {
    return NameLength(name) <= longestName && PathLengthFits(folder + name) &&
           PathLengthFits(folder + SideNameOf(name, longestName, UINT32_MAX, "tmp"));
}

Status CheckOutputIn(const std::string& folder, const std::string& name, std::size_t longestName) {
    const std::string path = folder + name;
    if (SameFileName(name, kFolderLockName) || SameFileName(name, kJournalName))
        return Status::Fail(texts::NameReserved(path));
    if (!NameFitsIn(folder, name, longestName)) return Status::Fail(texts::NameTooLong(path, longestName));
    return CheckReplaceable(KindOf(path), path);
}

}  // namespace

Status CheckOutput(const std::string& path) {
    return CheckOutputIn(FolderOf(path), NameOf(path), LongestNameIn(FolderOf(path)));
}

bool OutputNameFits(const std::string& path) {
    return NameFitsIn(FolderOf(path), NameOf(path), LongestNameIn(FolderOf(path)));
}

StagedFiles::StagedFiles(const FolderLock& folder, const StopFlag& stop)
    : folder_(folder.folder()), stop_(stop), longestName_(LongestNameIn(folder_)), process_(ThisProcessId()) {
    const std::lock_guard lock(RegistryMutex());
    Registry().push_back(this);
}

StagedFiles::~StagedFiles() {
    const std::lock_guard lock(RegistryMutex());
    RemoveCreated();
    std::erase(Registry(), this);
}

void StagedFiles::RemoveCreated() {
    for (std::size_t i = 0; i < outputs_.size(); ++i)
        if (outputs_[i].state == State::Created) (void)RemoveFile(SidePath(i, "tmp"));
}

Status StagedFiles::Plan(const std::string& name) {
    if (Status fits = CheckOutputIn(folder_, name, longestName_); !fits) return fits;
    const std::lock_guard lock(RegistryMutex());
    outputs_.push_back({name, State::Planned});
    return Status::Ok();
}

std::string StagedFiles::SideName(std::size_t output, const char* kind) const {
    return SideNameOf(outputs_[output].name, longestName_, process_, kind);
}

std::string StagedFiles::FreeBackupName(std::size_t output) const {
    std::string name = SideName(output, "bak");
    const std::string numbered = name.substr(0, name.size() - 4) + "-";
    for (int number = 1; number < kBackupNamesToTry && KindOf(folder_ + name) != PathKind::Missing; ++number)
        name = numbered + std::to_string(number) + ".bak";
    return name;
}

// A temporary file whose writer has ended can only be a leftover; one of this process's own
// number is one too, since a task sweeps before it creates anything.
void StagedFiles::RemoveStaleTemporaries(std::size_t from) const {
    Result<std::vector<std::string>> names = ListFolder(folder_);
    if (!names) return;
    std::set<std::string> stems;
    for (std::size_t i = from; i < outputs_.size(); ++i) stems.insert(Stem(outputs_[i].name, longestName_));
    std::string stem;
    std::uint32_t process = 0;
    for (const std::string& name : *names)
        if (ParseTemporaryName(name, stem, process) && stems.count(stem) &&
            (process == process_ || !ProcessIsRunning(process)))
            (void)RemoveFile(folder_ + name);
}

Result<File> StagedFiles::Create(std::size_t output) {
    if (stop_.Requested()) return Status::Fail(texts::kInterrupted);
    if (output >= swept_) RemoveStaleTemporaries(swept_);
    swept_ = outputs_.size();
    // Marked before it exists, so that RemoveTemporaryFilesNow cannot miss it.
    {
        const std::lock_guard lock(RegistryMutex());
        outputs_[output].state = State::Created;
    }
    Result<File> file = File::CreateNew(SidePath(output, "tmp"), FinalPath(output));
    if (!file) {
        const std::lock_guard lock(RegistryMutex());
        outputs_[output].state = State::Planned;
    }
    return file;
}

Status StagedFiles::Write(std::size_t output, std::string_view bytes) {
    Result<File> file = Create(output);
    if (!file) return file.status();
    if (Status written = file->WriteAt(0, bytes.data(), bytes.size()); !written) return written;
    return file->Close();
}

Status StagedFiles::Commit() {
    if (stop_.Requested()) return Status::Fail(texts::kInterrupted);
    std::vector<PlannedMove> moves;
    for (std::size_t i = 0; i < outputs_.size(); ++i) {
        if (outputs_[i].state != State::Created) continue;
        const std::string finalPath = FinalPath(i);
        // Something may have taken the name while the task was copying.
        const PathKind kind = KindOf(finalPath);
        if (Status replaceable = CheckReplaceable(kind, finalPath); !replaceable) return replaceable;
        PlannedMove move{outputs_[i].name, SideName(i, "tmp"), {}, {}, {}};
        const std::optional<FileIdentity> made = IdentityOf(SidePath(i, "tmp"));
        if (!made) return Status::Fail(texts::ReplaceFailed(finalPath, texts::kTemporaryFileGone));
        move.newFile = *made;
        if (kind == PathKind::File) {
            move.backupName = FreeBackupName(i);
            const std::optional<FileIdentity> old = IdentityOf(finalPath);
            if (!old) return Status::Fail(texts::ReplaceFailed(finalPath, texts::kTemporaryFileGone));
            move.oldFile = *old;
        }
        moves.push_back(std::move(move));
    }
    if (Status placed = PlaceOutputs(folder_, moves, stop_, afterEachMove_); !placed) return placed;
    const std::lock_guard lock(RegistryMutex());
    for (Output& output : outputs_)
        if (output.state == State::Created) output.state = State::Placed;
    return Status::Ok();
}

void RemoveTemporaryFilesNow() {
    const std::lock_guard lock(RegistryMutex());
    for (StagedFiles* task : Registry()) task->RemoveCreated();
}

}  // namespace quilvane
