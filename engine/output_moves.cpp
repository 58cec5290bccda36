#include "output_moves.h"

#include <optional>

#include "interruption.h"
#include "platform_file.h"
#include "texts.h"
#include "whole_file.h"

namespace quilvane {
namespace {

// A journal names three files a move; a million pieces stay far below.
constexpr std::uint64_t kLongestJournal = 512ull * 1024 * 1024;

bool Is(const std::string& path, const FileIdentity& identity) { return IdentityOf(path) == identity; }

// Puts a folder back as it was before the moves, whichever of them were made: every old file
// under its name again, every new file and temporary file removed. Only files whose identity the
// journal records are touched. Every move is undone that can be; the first failure is returned.
Status RollBack(const std::string& folder, const std::vector<PlannedMove>& moves) {
    Status outcome = Status::Ok();
    auto keep = [&outcome](Status step) {
        if (outcome && !step) outcome = std::move(step);
    };
    for (auto move = moves.rbegin(); move != moves.rend(); ++move) {
        const std::string finalPath = folder + move->finalName;
        if (!move->backupName.empty()) {
            const std::string backup = folder + move->backupName;
            if (Is(backup, move->oldFile)) {
                const std::optional<FileIdentity> now = IdentityOf(finalPath);
                if (now == move->oldFile)
                    keep(RemoveFile(backup));  // a second name only: nothing replaced yet
                else if (!now || now == move->newFile)
                    keep(MoveFileOver(backup, finalPath, finalPath));
                else
                    keep(Status::Fail(texts::RollBackBlocked(finalPath)));
            }
        } else if (Is(finalPath, move->newFile)) {
            keep(RemoveFile(finalPath));
        }
        const std::string temporary = folder + move->temporaryName;
        if (Is(temporary, move->newFile)) keep(RemoveFile(temporary));
    }
    return outcome;
}

// Once every move is made the backups are only old files nobody needs.
void RemoveBackups(const std::string& folder, const std::vector<PlannedMove>& moves) {
    for (const PlannedMove& move : moves)
        if (!move.backupName.empty() && Is(folder + move.backupName, move.oldFile))
            (void)RemoveFile(folder + move.backupName);
}

// The journal goes last, once what it describes is settled on disk.
Status RemoveJournal(const std::string& folder) {
    if (Status flushed = FlushFolder(folder); !flushed) return flushed;
    if (Status removed = RemoveFile(folder + kJournalName); !removed) return removed;
    return FlushFolder(folder);
}

Result<File> WriteJournal(const std::string& folder, const std::vector<PlannedMove>& moves) {
    const std::string path = folder + kJournalName;
    Result<File> journal = File::CreateNew(path, path);
    if (!journal) return journal;
    const std::string text = JournalText(moves);
    Status written = journal->WriteAt(0, text.data(), text.size());
    if (written) written = journal->Flush();
    if (written) written = FlushFolder(folder);
    if (written) return journal;
    (void)journal->Close();
    (void)RemoveFile(path);
    return written;
}

// Undoes the moves made so far after `failure`; a journal whose moves could not all be undone
// stays, so that the next task tries again.
Status Undo(const std::string& folder, const std::vector<PlannedMove>& moves, File& journal, const Status& failure) {
    (void)journal.Close();
    Status undone = RollBack(folder, moves);
    if (undone) undone = RemoveJournal(folder);
    if (!undone) return Status::Fail(failure.message() + "\n" + texts::RollBackFailed(folder, undone.message()));
    return failure;
}

}  // namespace

Status PlaceOutputs(const std::string& folder, const std::vector<PlannedMove>& moves, const StopFlag& stop,
                    const std::function<void()>& afterEachMove) {
    for (const PlannedMove& move : moves)
        if (Status flushed = FlushToDisk(folder + move.temporaryName, folder + move.finalName); !flushed)
            return flushed;
    Result<File> journal = WriteJournal(folder, moves);
    if (!journal) return journal.status();
    const std::string journalText = JournalText(moves);

    UninterruptibleStep step;
    for (const PlannedMove& move : moves) {
        if (stop.Requested()) return Undo(folder, moves, *journal, Status::Fail(texts::kInterrupted));
        const std::string temporary = folder + move.temporaryName, finalPath = folder + move.finalName;
        Status moved = move.backupName.empty()
                           ? MoveFileToNewName(temporary, finalPath, finalPath)
                           : ReplaceKeepingBackup(temporary, finalPath, folder + move.backupName, finalPath);
        if (!moved) return Undo(folder, moves, *journal, moved);
        if (afterEachMove) afterEachMove();
    }
    // Every output is in place: from here on the task is done, whatever follows.
    Status marked = FlushFolder(folder);
    if (marked) marked = journal->WriteAt(journalText.size(), kJournalDone.data(), kJournalDone.size());
    if (marked) marked = journal->Flush();
    if (marked) marked = journal->Close();
    if (!marked) return Undo(folder, moves, *journal, marked);
    RemoveBackups(folder, moves);
    (void)RemoveJournal(folder);
    return Status::Ok();
}

Result<TakenFolder> TakeFolder(const std::string& folder, FolderLock::Use use) {
    Result<FolderLock> lock = FolderLock::Take(folder, use);
    if (!lock) return lock.status();
    TakenFolder taken{std::move(*lock), false};
    const std::string path = folder + kJournalName;
    if (KindOf(path) == PathKind::Missing) return taken;
    if (!taken.lock.held()) return Status::Fail(texts::RollBackFailed(folder, texts::kFolderReadOnly));

    Result<std::string> text = ReadWholeFile(path, kLongestJournal);
    if (!text) return Status::Fail(texts::JournalUnreadable(path, text.message()));
    Result<MoveJournal> journal = ParseJournal(*text);
    if (!journal) return Status::Fail(texts::JournalUnreadable(path, journal.message()));
    if (journal->done) {
        RemoveBackups(folder, journal->moves);
    } else {
        // Before its "end" line nothing was moved: only temporary files are left to remove.
        if (Status undone = RollBack(folder, journal->moves); !undone)
            return Status::Fail(texts::RollBackFailed(folder, undone.message()));
        taken.rolledBack = journal->complete;
    }
    if (Status removed = RemoveJournal(folder); !removed)
        return Status::Fail(texts::RollBackFailed(folder, removed.message()));
    return taken;
}

}  // namespace quilvane
