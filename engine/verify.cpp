#include "verify.h"

#include "block_plan.h"
#include "checksum_list.h"
#include "folder_lock.h"
#include "formats.h"
#include "paths.h"
#include "piece_hasher.h"
#include "platform_file.h"
#include "task_steps.h"
#include "texts.h"

namespace quilvane {
namespace {

// What is wrong with each piece, one message a faulty piece.
Result<std::vector<std::string>> FindProblems(const std::string& descriptorPath, const StopFlag& stop,
                                              std::vector<Notice>& notices) {
    if (!FileExists(descriptorPath)) return Status::Fail(texts::kNoFileToMerge);
    const std::string pieceFolder = FolderOf(descriptorPath);
    Result<FolderLock> folder = TakeTaskFolder(pieceFolder, FolderLock::Use::Read, notices);
    if (!folder) return folder.status();
    Result<MergeDescriptor> descriptor = ReadMergeDescriptor(descriptorPath);
    if (!descriptor) return descriptor.status();
    const BlockPlan plan = BlockPlan::For(descriptor->sourceLength, descriptor->pieceSize, kCopyBlockSize);
    if (KindOf(ChecksumListPath(descriptorPath)) == PathKind::Missing)
        return Status::Fail(texts::NoChecksumList(ChecksumListPath(descriptorPath)));
    Result<std::vector<std::string>> expected = ReadPieceDigests(descriptorPath, plan.pieceCount());
    if (!expected) return expected.status();

    // What is wrong with each piece, told in the pieces' order; those whose length is right are hashed.
    std::vector<std::string> faults(static_cast<std::size_t>(plan.pieceCount()));
    std::vector<bool> hashed(faults.size(), false);
    PieceHasher hasher(plan.pieceCount(), stop);
    for (std::size_t index = 0; index < faults.size(); ++index) {
        if (StopDue(stop, index)) return Status::Fail(texts::kInterrupted);
        const std::string path = pieceFolder + PieceFileName(index + 1);
        const PathKind kind = KindOf(path);
        Result<std::uint64_t> length = kind == PathKind::File ? FileLength(path) : Result<std::uint64_t>(0);
        if (kind == PathKind::Missing)
            faults[index] = texts::PieceNotFound(path);
        else if (kind != PathKind::File)
            faults[index] = texts::NotARegularFile(path);
        else if (!length)
            faults[index] = length.message();
        else if (*length != plan.PieceLength(index))
            faults[index] = texts::PieceLengthWrong(path, *length, plan.PieceLength(index));
        else {
            hasher.Add(index, path, 0, *length);
            hashed[index] = true;
        }
    }
    Result<std::vector<std::string>> digests = hasher.Digests();
    if (!digests) return digests.status();
    std::vector<std::string> problems;
    for (std::size_t index = 0; index < faults.size(); ++index) {
        if (hashed[index] && (*digests)[index] != (*expected)[index])
            faults[index] = texts::PieceNotAsListed(pieceFolder + PieceFileName(index + 1));
        if (!faults[index].empty()) problems.push_back(std::move(faults[index]));
    }
    return problems;
}

}  // namespace

TaskResult VerifyPieces(const std::string& descriptorPath, const StopFlag& stop) {
    std::vector<Notice> notices;
    Result<std::vector<std::string>> problems = FindProblems(descriptorPath, stop, notices);
    if (!problems) return Finish(std::move(notices), problems.status(), "");
    if (problems->empty()) return Finish(std::move(notices), Status::Ok(), texts::kAllPiecesIntact);
    TaskResult result{TaskOutcome::Failed, std::move(notices)};
    for (std::string& problem : *problems) result.notices.push_back({std::move(problem), NoticeKind::Failure});
    return result;
}

}  // namespace quilvane
