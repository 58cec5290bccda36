// A split never removes or changes a file it did not create: not when it fails, not when the
// target folder holds another file's pieces, not when a name cannot be written.

#include <optional>

#include <gtest/gtest.h>

#include "formats.h"
#include "platform_file.h"
#include "task.h"
#include "test_support.h"
#include "texts.h"

namespace quilvane {
namespace {

using namespace testing;

constexpr std::size_t K = 1024;

struct SplitSafety : ::testing::Test {
    TempFolder folder;
    std::string out = folder.Subfolder("out");
    RecordingHost host;

    TaskOutcome RunSplit(const std::string& name, const std::string& bytes, const std::string& size = "1") {
        WriteFile(folder / name, bytes);
        host.notices.clear();
        return RunRecorded(SplitInputs(folder / name, out, size), host);
    }
    // An earlier split of a.bin: its descriptor and three pieces, with contents of their own.
    std::vector<std::string> OldSplitOfA() {
        MakePieces(folder / "a.bin", PatternBytes(3 * K, 7), out);
        return OldFiles();
    }
    std::vector<std::string> OldFiles() {
        return {ReadFile(out + "a.hpe"), ReadFile(out + "001.pe"), ReadFile(out + "002.pe"), ReadFile(out + "003.pe")};
    }
};

TEST_F(SplitSafety, FailureMidwayLeavesEveryOldPieceAndTheDescriptor) {
    const std::vector<std::string> before = OldSplitOfA();
    host.duringTask = [this](int report) {
        if (report == 2) host.stop.Request();
    };
    EXPECT_EQ(RunSplit("a.bin", PatternBytes(4 * K + 5, 8)), TaskOutcome::Stopped);
    EXPECT_EQ(host.OnlyNotice(), texts::kInterrupted);
    EXPECT_EQ(OldFiles(), before);
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"001.pe", "002.pe", "003.pe", "a.hpe", "a.sha256"}))
        << "nothing new, no temporary file";
}

TEST_F(SplitSafety, NameTakenWhileCopyingPutsEveryOldFileBack) {
    const std::vector<std::string> before = OldSplitOfA();
    ASSERT_TRUE(RemoveFile(out + "003.pe"));
    // The descriptor, 001.pe and 002.pe are moved into place before 003.pe turns out to be a folder.
    host.duringTask = [&](int pump) {
        if (pump == 1) folder.Subfolder("out/003.pe");
    };
    EXPECT_EQ(RunSplit("a.bin", PatternBytes(3 * K, 9)), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::OutputIsFolder(out + "003.pe"));
    EXPECT_EQ(ReadFile(out + "a.hpe"), before[0]);
    EXPECT_EQ(ReadFile(out + "001.pe"), before[1]);
    EXPECT_EQ(ReadFile(out + "002.pe"), before[2]);
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"001.pe", "002.pe", "003.pe", "a.hpe", "a.sha256"}))
        << "no backup left";
}

TEST_F(SplitSafety, PieceMadeReadOnlyWhileCopyingPutsEveryOldFileBack) {
    const std::vector<std::string> before = OldSplitOfA();
    std::optional<ReadOnlyFile> readOnly;
    host.duringTask = [&](int pump) {
        if (pump == 1) readOnly.emplace(out + "003.pe");
    };
    EXPECT_EQ(RunSplit("a.bin", PatternBytes(3 * K, 9)), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::OutputIsReadOnly(out + "003.pe"));
    EXPECT_EQ(OldFiles(), before);
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"001.pe", "002.pe", "003.pe", "a.hpe", "a.sha256"}))
        << "no backup left";
}

TEST_F(SplitSafety, AnotherFilesPiecesAreNeverOverwritten) {
    const std::vector<std::string> before = OldSplitOfA();
    EXPECT_EQ(RunSplit("b.bin", PatternBytes(5 * K, 2)), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::PiecesOfAnotherFile(out + "a.hpe"));
    EXPECT_EQ(OldFiles(), before);
    EXPECT_FALSE(Exists(out + "b.hpe"));

    // a.bin's pieces still rebuild a.bin.
    const std::string back = folder.Subfolder("back");
    EXPECT_EQ(RunRecorded(MergeInputs(out + "a.hpe", back), host), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(back + "a.bin"), PatternBytes(3 * K, 7)));

    // Splitting the same source again, changed, replaces its own pieces.
    EXPECT_EQ(RunSplit("a.bin", PatternBytes(2 * K, 3)), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(out + "002.pe"), PatternBytes(2 * K, 3).substr(K)));
}

TEST_F(SplitSafety, SourceOfTheSameBaseNameCountsAsAnotherFile) {
    EXPECT_EQ(RunSplit("movie.avi", PatternBytes(2 * K, 1)), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(RunSplit("movie.srt", PatternBytes(2 * K, 2)), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::PiecesOfAnotherFile(out + "movie.hpe"));
    EXPECT_EQ(ReadMergeDescriptor(out + "movie.hpe")->name, "movie.avi");
}

TEST_F(SplitSafety, DescriptorsWithoutPiecesAndOtherFilesDoNotStopIt) {
    OldSplitOfA();
    for (const std::string piece : {"001.pe", "002.pe", "003.pe"}) ASSERT_TRUE(RemoveFile(out + piece));
    WriteFile(out + "notes.hpe", "not a descriptor at all");
    EXPECT_EQ(RunSplit("b.bin", PatternBytes(2 * K, 2)), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(ReadFile(out + "notes.hpe"), "not a descriptor at all");
}

TEST_F(SplitSafety, SizeTextTheMergeCouldNotReadBackIsRefused) {
    const std::string tooMany = std::string(40000, '0') + "1";
    EXPECT_EQ(RunSplit("z.bin", PatternBytes(2 * K), tooMany), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::SizeTextUnreadable(tooMany));
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{});

    const std::string manyZeros = std::string(100, '0') + "1";
    EXPECT_EQ(RunSplit("z.bin", PatternBytes(2 * K), manyZeros), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(ReadMergeDescriptor(out + "z.hpe")->sizeText, manyZeros + "k");
}

TEST_F(SplitSafety, LongestNamesTheFileSystemHoldsSplitAndMergeBack) {
    const std::string base(251, 'n');
    const std::string bytes = PatternBytes(3 * K + 1);
    host.batchFileWanted = true;
    EXPECT_EQ(RunSplit(base + ".bin", bytes), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(Exists(out + base + ".hpe"));
    EXPECT_TRUE(Exists(out + base + ".bat"));

    const std::string back = folder.Subfolder("back");
    EXPECT_EQ(RunRecorded(MergeInputs(out + base + ".hpe", back), host), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(back + base + ".bin"), bytes));
    EXPECT_EQ(TemporaryNamesIn(out), std::vector<std::string>{});
    EXPECT_EQ(TemporaryNamesIn(back), std::vector<std::string>{});
}

TEST_F(SplitSafety, NameTooLongForTheFileSystemIsRefusedByItsOwnName) {
    // A 255-character source whose descriptor would need 257.
    const std::string base(253, 'n');
    EXPECT_EQ(RunSplit(base + ".b", PatternBytes(2 * K)), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::NameTooLong(out + base + ".hpe", LongestNameIn(out)));
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{});
}

}  // namespace
}  // namespace quilvane
