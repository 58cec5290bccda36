// Moving outputs into place is one step that completes or is undone whole: after a crash
// between two moves, a stop in the middle of them, or a second task in the same folder, every
// file that was there before is as it was.

#include <map>

#include <gtest/gtest.h>

#include "child_process.h"
#include "folder_lock.h"
#include "journal_format.h"
#include "process.h"
#include "task.h"
#include "test_support.h"
#include "texts.h"

namespace quilvane {
namespace {

using namespace testing;

constexpr std::size_t K = 1024;
constexpr int kDied = 77;

struct RecoverableMoves : ::testing::Test {
    TempFolder folder;
    std::string out = folder.Subfolder("out");
    std::string merged = folder.Subfolder("merged");
    RecordingHost host;
    std::string oldBytes = PatternBytes(3 * K, 7);

    // An earlier split of a.bin with its batch file; then a.bin changes but keeps its length,
    // so a re-split writes the same descriptor and batch file and only the pieces differ.
    std::map<std::string, std::string> OldSplitThenNewContent() {
        WriteFile(folder / "a.bin", oldBytes);
        RecordingHost splitter;
        splitter.batchFileWanted = true;
        EXPECT_EQ(RunRecorded(SplitInputs(folder / "a.bin", out, "1"), splitter), TaskOutcome::Done)
            << splitter.Notices();
        WriteFile(folder / "a.bin", PatternBytes(3 * K, 8));
        return Contents(out);
    }
    static std::map<std::string, std::string> Contents(const std::string& where) {
        std::map<std::string, std::string> contents;
        for (const std::string& name : NamesIn(where)) contents[name] = ReadFile(where + name);
        return contents;
    }
    TaskOutcome ResplitWithBatch(const CopyLimits& limits = {}) {
        host.batchFileWanted = true;
        return RunRecorded(SplitInputs(folder / "a.bin", out, "1"), host, limits);
    }
};

TEST_F(RecoverableMoves, ACrashBetweenAnyTwoMovesIsRolledBackByTheNextTask) {
    const auto before = OldSplitThenNewContent();
    // The descriptor, three pieces and the batch file: five moves, and a crash after each.
    for (int moves = 1; moves <= 5; ++moves) {
        ASSERT_EQ(
            RunProgramBesideThis("crashing_task", {std::to_string(moves), "split", folder / "a.bin", "1", out, "bat"}),
            kDied);
        RecordingHost merger;
        ASSERT_EQ(RunRecorded(MergeInputs(out + "a.hpe", merged), merger), TaskOutcome::Done) << merger.Notices();
        ASSERT_EQ(merger.notices.size(), 2u) << merger.Notices();
        EXPECT_EQ(merger.notices[0], std::make_pair(texts::RolledBack(out), NoticeKind::Info));
        EXPECT_TRUE(SameBytes(ReadFile(merged + "a.bin"), oldBytes)) << "crash after move " << moves;
        EXPECT_EQ(Contents(out), before) << "crash after move " << moves;
    }
}

TEST_F(RecoverableMoves, AMergeKilledOverItsTargetNeverLeavesTheNameEmpty) {
    MakePieces(folder / "f.bin", PatternBytes(3 * K), out);
    WriteFile(merged + "f.bin", "the old f.bin");
    ASSERT_EQ(RunProgramBesideThis("crashing_task", {"1", "merge", out + "f.hpe", merged}), kDied);
    EXPECT_TRUE(SameBytes(ReadFile(merged + "f.bin"), PatternBytes(3 * K))) << "the new file had its name at once";
    // The next task in the folder finds the run unfinished and puts the old file back.
    WriteFile(folder / "g.bin", "g");
    ASSERT_EQ(RunRecorded(ListInputs({folder / "g.bin"}, merged), host), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(host.notices[0].first, texts::RolledBack(merged));
    EXPECT_EQ(ReadFile(merged + "f.bin"), "the old f.bin");
    EXPECT_EQ(NamesIn(merged), (std::vector<std::string>{"f.bin", "g.bat", "g.txt"}));
}

TEST_F(RecoverableMoves, AStopDuringTheMovesPutsEverythingBackAndSaysSoOnce) {
    const auto before = OldSplitThenNewContent();
    CopyLimits limits;
    int moves = 0;
    limits.afterEachMove = [&] {
        if (++moves == 2) host.stop.Request();
    };
    EXPECT_EQ(ResplitWithBatch(limits), TaskOutcome::Stopped);
    EXPECT_EQ(host.OnlyNotice(), texts::kInterrupted);
    EXPECT_EQ(Contents(out), before);
}

TEST_F(RecoverableMoves, ASecondTaskInABusyFolderIsRefusedAtOnce) {
    const auto before = OldSplitThenNewContent();
    {
        Result<FolderLock> otherTask = FolderLock::Take(out, FolderLock::Use::Write);
        ASSERT_TRUE(otherTask) << otherTask.message();
        EXPECT_EQ(ResplitWithBatch(), TaskOutcome::Failed);
        EXPECT_EQ(host.OnlyNotice(), texts::FolderBusy(out));
        // A merge reads the pieces there: they must not change under it either.
        host.notices.clear();
        EXPECT_EQ(RunRecorded(MergeInputs(out + "a.hpe", merged), host), TaskOutcome::Failed);
        EXPECT_EQ(host.OnlyNotice(), texts::FolderBusy(out));
        EXPECT_TRUE(NamesIn(merged).empty());
    }
    EXPECT_EQ(Contents(out), before) << "and the lock file is gone with its holder";
    host.notices.clear();
    EXPECT_EQ(ResplitWithBatch(), TaskOutcome::Done) << host.Notices();
}

TEST_F(RecoverableMoves, AJournalFromElsewhereTouchesNoFileItDidNotMake) {
    const auto before = OldSplitThenNewContent();
    // Names with blanks, tabs, line breaks and "%" survive the journal.
    const PlannedMove oddName{"a\tb\n%c d", "x.quilvane-1.tmp", {1, 2}, "x.quilvane-1.bak", {3, 4}};
    Result<MoveJournal> read = ParseJournal(JournalText({oddName}));
    ASSERT_TRUE(read) << read.message();
    ASSERT_EQ(read->moves.size(), 1u);
    EXPECT_EQ(read->moves[0].finalName, oddName.finalName);
    EXPECT_TRUE(read->complete);

    // A journal that names the user's files, with identities that are not theirs.
    WriteFile(out + "001.pe.quilvane-1.bak", "not the old piece");
    const PlannedMove removeTheirs{"002.pe", "002.pe.quilvane-1.tmp", {1, 2}, "", {}};
    const PlannedMove restoreJunk{"001.pe", "001.pe.quilvane-1.tmp", {5, 6}, "001.pe.quilvane-1.bak", {7, 8}};
    WriteFile(out + kJournalName, JournalText({removeTheirs, restoreJunk}));
    EXPECT_EQ(RunRecorded(MergeInputs(out + "a.hpe", merged), host), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(merged + "a.bin"), oldBytes));
    auto after = Contents(out);
    EXPECT_EQ(after["001.pe.quilvane-1.bak"], "not the old piece");
    after.erase("001.pe.quilvane-1.bak");
    EXPECT_EQ(after, before);

    // One it cannot read stops the task before anything is written.
    const std::string journal = out + kJournalName;
    WriteFile(journal, "quilvane-moves 1\nmove\t../a.bin\tx.quilvane-1.tmp\t1:2\nend\n");
    host.notices.clear();
    EXPECT_EQ(ResplitWithBatch(), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice().rfind("无法读懂被中断任务的记录文件“" + journal + "”", 0), 0u) << host.OnlyNotice();
    EXPECT_TRUE(Exists(journal));
    EXPECT_EQ(ReadFile(out + "001.pe"), before.at("001.pe"));
}

TEST_F(RecoverableMoves, ABackupLeftByAnEndedRunOfTheSameNumberIsNoObstacle) {
    OldSplitThenNewContent();
    const std::string stale = "001.pe.quilvane-" + std::to_string(ThisProcessId()) + ".bak";
    WriteFile(out + stale, "keep");
    EXPECT_EQ(ResplitWithBatch(), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(out + "001.pe"), PatternBytes(3 * K, 8).substr(0, K)));
    EXPECT_EQ(ReadFile(out + stale), "keep");
}

}  // namespace
}  // namespace quilvane
