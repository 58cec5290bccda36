#include <gtest/gtest.h>

#include <sstream>

#include "task.h"
#include "test_support.h"
#include "texts.h"

namespace quilvane {
namespace {

using namespace testing;

struct ListMerge : ::testing::Test {
    TempFolder folder;
    std::string in = folder.Subfolder("in put");
    std::string out = folder.Subfolder("out");
    RecordingHost host;
};

TEST_F(ListMerge, JoinsInListOrderNamedAfterTheFirstEntry) {
    WriteFile(in + "x1.dat", PatternBytes(3000, 1));
    WriteFile(in + "x2.dat", PatternBytes(5000, 2));
    EXPECT_EQ(RunRecorded(ListInputs({in + "x2.dat", in + "x1.dat"}, out), host), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(out + "x2.txt"), PatternBytes(5000, 2) + PatternBytes(3000, 1)));
    EXPECT_EQ(ReadFile(out + "x2.bat"), "copy \"" + in + "x2.dat\"/b + \"" + in + "x1.dat\"/b " + out + "x2.txt\r\n");
    EXPECT_EQ(host.OnlyNotice(), texts::kMergeDone);
    EXPECT_EQ(host.progress, std::vector<float>{}) << "a join reports no progress";
}

TEST_F(ListMerge, SelectedEntryNamesTheResult) {
    WriteFile(in + "a.log", "first ");
    WriteFile(in + "b.log", "second");
    EXPECT_EQ(RunRecorded(ListInputs({in + "a.log", in + "b.log"}, out, 1), host), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(ReadFile(out + "b.txt"), "first second");
    EXPECT_TRUE(Exists(out + "b.bat"));
}

TEST_F(ListMerge, EmptyListOrMissingEntryStopsBeforeWriting) {
    EXPECT_EQ(RunRecorded(ListInputs({}, out), host), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::kNoFileToMerge);
    WriteFile(in + "a.dat", "a");
    host.notices.clear();
    EXPECT_EQ(RunRecorded(ListInputs({in + "a.dat", in + "gone.dat"}, out), host), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::ListEntryMissing(in + "gone.dat"));
    EXPECT_TRUE(NamesIn(out).empty());
}

TEST_F(ListMerge, NeverJoinsIntoOneOfItsOwnEntries) {
    // Joining x.txt and y.txt into their own folder would name the result x.txt.
    WriteFile(in + "x.txt", "keep me");
    WriteFile(in + "y.txt", "and me");
    EXPECT_EQ(RunRecorded(ListInputs({in + "x.txt", in + "y.txt"}, in), host), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::WouldOverwriteInput(in + "x.txt", in + "x.txt"));
    EXPECT_EQ(ReadFile(in + "x.txt"), "keep me");
    EXPECT_FALSE(Exists(in + "x.bat"));
}

TEST_F(ListMerge, LongListIsJoinedByTheProgramAndNoEntryIsWritten) {
    // Hundreds of entries make a batch file far beyond one line of cmd.
    const std::string deep = folder.Subfolder("in put/a rather long folder name, repeated to fill the line");
    std::vector<std::string> entries;
    std::string joined;
    for (int i = 0; i < 400; ++i) {
        entries.push_back(deep + "part " + std::to_string(i) + ".dat");
        WriteFile(entries.back(), "entry " + std::to_string(i) + "\n");
        joined += "entry " + std::to_string(i) + "\n";
    }
    EXPECT_EQ(RunRecorded(ListInputs(entries, out), host), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(out + "part 0.txt"), joined));
    for (int i = 0; i < 400; ++i) ASSERT_EQ(ReadFile(entries[i]), "entry " + std::to_string(i) + "\n");
    std::istringstream batch(ReadFile(out + "part 0.bat"));
    int lines = 0;
    for (std::string line; std::getline(batch, line); ++lines) EXPECT_LE(line.size(), 8192u) << "8191 and the CR";
    EXPECT_GT(lines, 2);
}

TEST_F(ListMerge, FailureLeavesTheOldResultAndBatchFile) {
    WriteFile(in + "x1.dat", PatternBytes(3000, 1));
    WriteFile(in + "x2.dat", PatternBytes(3000, 2));
    WriteFile(out + "x1.txt", "old result");
    WriteFile(out + "x1.bat", "old batch");
    // Stopped once the joined file is in place: it goes back, and the batch file never comes.
    CopyLimits limits;
    limits.afterEachMove = [this] { host.stop.Request(); };
    EXPECT_EQ(RunRecorded(ListInputs({in + "x1.dat", in + "x2.dat"}, out), host, limits), TaskOutcome::Stopped);
    EXPECT_EQ(host.OnlyNotice(), texts::kInterrupted);
    EXPECT_EQ(ReadFile(out + "x1.txt"), "old result");
    EXPECT_EQ(ReadFile(out + "x1.bat"), "old batch");
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"x1.bat", "x1.txt"}));
}

TEST_F(ListMerge, OldResultOfTheRightLengthIsReallyReplaced) {
    WriteFile(in + "x1.dat", "left ");
    WriteFile(in + "x2.dat", "right");
    WriteFile(out + "x1.txt", "stale stal");
    EXPECT_EQ(RunRecorded(ListInputs({in + "x1.dat", in + "x2.dat"}, out), host), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(ReadFile(out + "x1.txt"), "left right");
}

TEST_F(ListMerge, FolderAmongTheEntriesIsRefused) {
    WriteFile(in + "a.dat", "a");
    const std::string sub = folder.Subfolder("in put/sub");
    EXPECT_EQ(RunRecorded(ListInputs({in + "a.dat", sub}, out), host), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::NotARegularFile(sub));
    EXPECT_TRUE(NamesIn(out).empty());
}

}  // namespace
}  // namespace quilvane
