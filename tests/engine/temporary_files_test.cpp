// Temporary files: gone after an interrupted task, removed at once when the session ends, and
// cleaned up by a later run when a killed one left them behind.

#include <gtest/gtest.h>

#include "folder_lock.h"
#include "paths.h"
#include "platform_file.h"
#include "staged_files.h"
#include "task.h"
#include "test_support.h"
#include "texts.h"

namespace quilvane {
namespace {

using namespace testing;

constexpr std::size_t K = 1024;
// A process number no system hands out.
const std::string kEndedProcess = "3999999999";

struct TemporaryFiles : ::testing::Test {
    TempFolder folder;
    std::string pieces = folder.Subfolder("pieces");
    std::string out = folder.Subfolder("out");
    RecordingHost host;

    void SplitF() { MakePieces(folder / "f.bin", PatternBytes(3 * K), pieces); }
};

TEST_F(TemporaryFiles, InterruptedMergeLeavesTheOldOutputAndNoTemporaryFile) {
    SplitF();
    WriteFile(out + "f.bin", "the old f.bin");
    host.duringTask = [this](int) { host.stop.Request(); };
    EXPECT_EQ(RunRecorded(MergeInputs(pieces + "f.hpe", out), host), TaskOutcome::Stopped);
    EXPECT_EQ(host.OnlyNotice(), texts::kInterrupted);
    EXPECT_EQ(host.progress.size(), 1u) << "stops before the next block";
    EXPECT_EQ(ReadFile(out + "f.bin"), "the old f.bin");
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{"f.bin"});
}

TEST_F(TemporaryFiles, EndOfSessionRemovesThemAtOnceAndStopsTheTask) {
    WriteFile(folder / "g.bin", PatternBytes(4 * K));
    std::vector<std::string> leftAfterRemoval = {"<not called>"};
    host.duringTask = [&](int pump) {
        if (pump != 2) return;
        EXPECT_EQ(TemporaryNamesIn(out).size(), 3u) << "the descriptor and two pieces";
        host.stop.Request();
        RemoveTemporaryFilesNow();
        leftAfterRemoval = TemporaryNamesIn(out);
    };
    EXPECT_EQ(RunRecorded(SplitInputs(folder / "g.bin", out, "1"), host), TaskOutcome::Stopped);
    EXPECT_EQ(leftAfterRemoval, std::vector<std::string>{});
    EXPECT_EQ(host.OnlyNotice(), texts::kInterrupted);
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{});
}

TEST_F(TemporaryFiles, LeftoversOfAnEndedRunOfTheSameTaskAreRemoved) {
    SplitF();
    const std::string stale = "f.bin.quilvane-" + kEndedProcess + ".tmp";
    WriteFile(out + stale, PatternBytes(2 * K));
    // Not this task's, or not a temporary file: they stay.
    const std::vector<std::string> others = {"g.bin.quilvane-" + kEndedProcess + ".tmp",
                                             "f.bin.quilvane-" + kEndedProcess + ".bak", "f.bin.quilvane-x.tmp",
                                             "f.bin.quilvane-12.tmp.txt"};
    for (const std::string& name : others) WriteFile(out + name, "keep");
    EXPECT_EQ(RunRecorded(MergeInputs(pieces + "f.hpe", out), host), TaskOutcome::Done) << host.Notices();
    EXPECT_FALSE(Exists(out + stale));
    for (const std::string& name : others) EXPECT_EQ(ReadFile(out + name), "keep") << name;
}

TEST_F(TemporaryFiles, LongNamesGetShortTemporaryNamesThatDiffer) {
    // Both outputs of a list merge need their 255 characters; their temporary names are cut
    // short and told apart.
    const std::string base(251, 'q');
    WriteFile(folder / (base + ".dat"), "abc");
    EXPECT_EQ(RunRecorded(ListInputs({folder / (base + ".dat")}, out), host), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(ReadFile(out + base + ".txt"), "abc");
    EXPECT_TRUE(Exists(out + base + ".bat"));
    EXPECT_EQ(NamesIn(out).size(), 2u);

    // A leftover of such a name is found again by the next run.
    std::string left;
    {
        Result<FolderLock> lock = FolderLock::Take(out, FolderLock::Use::Write);
        ASSERT_TRUE(lock) << lock.message();
        const StopFlag neverStopped;
        StagedFiles probe(*lock, neverStopped);
        ASSERT_TRUE(probe.Plan(base + ".txt"));
        Result<File> temporary = probe.Create(0);
        ASSERT_TRUE(temporary) << temporary.message();
        left = NameOf(temporary->path());
        ASSERT_TRUE(temporary->Close());
    }
    EXPECT_LE(left.size(), LongestNameIn(out));
    const std::string stale = left.substr(0, left.find(".quilvane-")) + ".quilvane-" + kEndedProcess + ".tmp";
    WriteFile(out + stale, "stale");
    EXPECT_EQ(RunRecorded(ListInputs({folder / (base + ".dat")}, out), host), TaskOutcome::Done) << host.Notices();
    EXPECT_FALSE(Exists(out + stale));
}

}  // namespace
}  // namespace quilvane
