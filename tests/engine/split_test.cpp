#include <gtest/gtest.h>

#include "formats.h"
#include "task.h"
#include "test_support.h"
#include "texts.h"

namespace quilvane {
namespace {

using namespace testing;

constexpr std::size_t K = 1024;

struct Split : ::testing::Test {
    TempFolder folder;
    std::string out = folder.Subfolder("out");
    RecordingHost host;

    TaskOutcome RunSplit(const std::string& source, const std::string& size, SizeUnit unit = SizeUnit::Kilobytes,
                         CopyLimits limits = {}) {
        return RunRecorded(SplitInputs(source, out, size, unit), host, limits);
    }
};

TEST_F(Split, CutsIntoFullPiecesAndAShortLastOne) {
    const std::string bytes = PatternBytes(2 * K + 1);
    WriteFile(folder / "data.bin", bytes);
    EXPECT_EQ(RunSplit(folder / "data.bin", "1"), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(out + "001.pe"), bytes.substr(0, K)));
    EXPECT_TRUE(SameBytes(ReadFile(out + "002.pe"), bytes.substr(K, K)));
    EXPECT_TRUE(SameBytes(ReadFile(out + "003.pe"), bytes.substr(2 * K)));
    Result<MergeDescriptor> descriptor = ReadMergeDescriptor(out + "data.hpe");
    ASSERT_TRUE(descriptor) << descriptor.message();
    EXPECT_EQ(descriptor->name, "data.bin");
    EXPECT_EQ(descriptor->sizeText, "1k");
    EXPECT_EQ(descriptor->blockCount, 3u);
    EXPECT_EQ(descriptor->sourceLength, 2 * K + 1);
    EXPECT_EQ(host.OnlyNotice(), texts::kSplitDone);
    EXPECT_EQ(host.notices[0].second, NoticeKind::Success);
    EXPECT_FALSE(Exists(out + "data.bat")) << "no batch file unless asked";
}

TEST_F(Split, SourceOfExactlyOnePieceGivesOnePieceAndItsBatchLine) {
    WriteFile(folder / "one.dat", PatternBytes(K));
    host.batchFileWanted = true;
    EXPECT_EQ(RunSplit(folder / "one.dat", "1"), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(ReadFile(out + "001.pe").size(), K);
    EXPECT_FALSE(Exists(out + "002.pe"));
    EXPECT_EQ(ReadFile(out + "one.bat"), "copy 001.pe/b " + out + "one.dat\r\n");
    EXPECT_EQ(ReadMergeDescriptor(out + "one.hpe")->blockCount, 1u);
}

TEST_F(Split, MegabytesAndLeadingZerosKeptInTheDescriptor) {
    WriteFile(folder / "m.bin", PatternBytes(K * K + 5));
    EXPECT_EQ(RunSplit(folder / "m.bin", "01", SizeUnit::Megabytes), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(ReadMergeDescriptor(out + "m.hpe")->sizeText, "01m");
    EXPECT_EQ(ReadFile(out + "001.pe").size(), K * K);
    EXPECT_EQ(ReadFile(out + "002.pe").size(), 5u);
}

TEST_F(Split, OldLongerPieceIsReplacedWhole) {
    WriteFile(out + "002.pe", PatternBytes(5 * K, 9));
    WriteFile(folder / "s.bin", PatternBytes(2 * K + 10));
    EXPECT_EQ(RunSplit(folder / "s.bin", "1"), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(out + "002.pe"), PatternBytes(2 * K + 10).substr(K, K)));
}

TEST_F(Split, PiecesLargerThanABlockAreCopiedInSeveralBlocks) {
    // Blocks of 1000 bytes: a 3 KiB piece takes four blocks, the last holding 72 bytes.
    const std::string bytes = PatternBytes(7 * K + 100);
    WriteFile(folder / "big.bin", bytes);
    CopyLimits limits;
    limits.blockSize = 1000;
    limits.chunkSize = 64;
    EXPECT_EQ(RunSplit(folder / "big.bin", "3", SizeUnit::Kilobytes, limits), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(out + "001.pe") + ReadFile(out + "002.pe") + ReadFile(out + "003.pe"), bytes));
    EXPECT_EQ(ReadFile(out + "003.pe").size(), K + 100);
    // Two full pieces of four blocks, then 1124 bytes in two blocks.
    EXPECT_EQ(ReadMergeDescriptor(out + "big.hpe")->blockCount, 10u);
    ASSERT_EQ(host.progress.size(), 10u);
    EXPECT_FLOAT_EQ(host.progress[0], static_cast<float>(100.0 / bytes.size() * 1000));
    EXPECT_FLOAT_EQ(host.progress[3], static_cast<float>(100.0 / bytes.size() * 3 * K)) << "a piece done";
    EXPECT_EQ(host.progress[9], 100.0f) << "emptying the bar is the window's";
}

TEST_F(Split, SizeBelowOneOrNotANumberWritesNothing) {
    WriteFile(folder / "a.bin", PatternBytes(4 * K));
    for (const std::string size : {"0", "00", ""}) {
        host.notices.clear();
        EXPECT_EQ(RunSplit(folder / "a.bin", size), TaskOutcome::Failed);
        EXPECT_EQ(host.OnlyNotice(), texts::kSizeBelowOne);
    }
    host.notices.clear();
    EXPECT_EQ(RunSplit(folder / "a.bin", "1a"), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), "分割大小“1a”不是数字");
    EXPECT_TRUE(folder.Names() == std::vector<std::string>({"a.bin", "out"}));
    EXPECT_TRUE(NamesIn(out).empty());
}

TEST_F(Split, SourceSmallerThanOnePieceIsNotSplit) {
    WriteFile(folder / "small.bin", PatternBytes(K - 1));
    WriteFile(folder / "empty.bin", "");
    EXPECT_EQ(RunSplit(folder / "small.bin", "1"), TaskOutcome::Failed);
    EXPECT_EQ(RunSplit(folder / "empty.bin", "1"), TaskOutcome::Failed);
    // A size far beyond any file must not wrap around to a small one.
    EXPECT_EQ(RunSplit(folder / "small.bin", "99999999999999999999999", SizeUnit::Megabytes), TaskOutcome::Failed);
    EXPECT_EQ(RunSplit(folder / "small.bin", "4194304"), TaskOutcome::Failed) << "4 GiB in KB";
    for (const auto& notice : host.notices) EXPECT_EQ(notice.first, texts::kNoNeedToSplit);
    EXPECT_TRUE(NamesIn(out).empty());
}

TEST_F(Split, ChecksComeInOrderBeforeAnythingIsWritten) {
    EXPECT_EQ(RunRecorded(SplitInputs("", "", "100"), host), TaskOutcome::Failed);
    EXPECT_EQ(RunRecorded(SplitInputs(folder / "missing.bin", out, "100"), host), TaskOutcome::Failed);
    EXPECT_EQ(RunRecorded(SplitInputs(out, out, "100"), host), TaskOutcome::Failed) << "a folder is no file";
    WriteFile(folder / "a.bin", PatternBytes(4 * K));
    EXPECT_EQ(RunRecorded(SplitInputs(folder / "a.bin", "", "1"), host), TaskOutcome::Failed);
    EXPECT_EQ(RunRecorded(SplitInputs(folder / "a.bin", folder / "nowhere", "1"), host), TaskOutcome::Failed);
    ASSERT_EQ(host.notices.size(), 5u);
    EXPECT_EQ(host.notices[0].first, texts::kNoFileToSplit);
    EXPECT_EQ(host.notices[1].first, texts::kNoFileToSplit);
    EXPECT_EQ(host.notices[2].first, texts::kNoFileToSplit);
    EXPECT_EQ(host.notices[3].first, texts::kNoTargetFolder);
    EXPECT_EQ(host.notices[4].first, texts::kNoTargetFolder);
    EXPECT_TRUE(NamesIn(out).empty());
}

TEST_F(Split, TargetWithoutTrailingSeparatorIsCompleted) {
    WriteFile(folder / "a.bin", PatternBytes(2 * K));
    std::string target = out;
    target.pop_back();
    EXPECT_EQ(RunRecorded(SplitInputs(folder / "a.bin", target, "1"), host), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(Exists(out + "002.pe"));
}

TEST_F(Split, OnlySuccessIsDoneForTheWindowToCloseAfter) {
    WriteFile(folder / "a.bin", PatternBytes(2 * K));
    EXPECT_EQ(RunSplit(folder / "a.bin", "1"), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(RunSplit(folder / "a.bin", "9"), TaskOutcome::Failed);
    EXPECT_EQ(host.notices[1], std::make_pair(std::string(texts::kNoNeedToSplit), NoticeKind::Failure));
}

TEST_F(Split, NeverOverwritesItsOwnSource) {
    // Splitting a piece, or a descriptor, back into its own folder would destroy it.
    const std::string piece = PatternBytes(3 * K);
    WriteFile(out + "002.pe", piece);
    EXPECT_EQ(RunRecorded(SplitInputs(out + "002.pe", out, "1"), host), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::WouldOverwriteInput(out + "002.pe", out + "002.pe"));
    EXPECT_TRUE(SameBytes(ReadFile(out + "002.pe"), piece));
    EXPECT_FALSE(Exists(out + "001.pe"));

    WriteFile(out + "d.hpe", piece);
    EXPECT_EQ(RunRecorded(SplitInputs(out + "d.hpe", out, "1"), host), TaskOutcome::Failed);
    EXPECT_TRUE(SameBytes(ReadFile(out + "d.hpe"), piece));

    // Into another folder the same split is fine.
    EXPECT_EQ(RunRecorded(SplitInputs(out + "002.pe", folder.Path(), "1"), host), TaskOutcome::Done) << host.Notices();
}

TEST_F(Split, BatchFileThatWouldReplaceTheSourceStopsItBeforeAnyPiece) {
    const std::string script = PatternBytes(2 * K);
    WriteFile(out + "run.bat", script);
    host.batchFileWanted = true;
    EXPECT_EQ(RunRecorded(SplitInputs(out + "run.bat", out, "1"), host), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::WouldOverwriteInput(out + "run.bat", out + "run.bat"));
    EXPECT_TRUE(SameBytes(ReadFile(out + "run.bat"), script));
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{"run.bat"}) << "no piece, no descriptor";
    // Without the batch file the same split is fine.
    host.batchFileWanted = false;
    EXPECT_EQ(RunRecorded(SplitInputs(out + "run.bat", out, "1"), host), TaskOutcome::Done) << host.Notices();
}

TEST_F(Split, PieceNameTakenByAFolderStopsItBeforeAnythingIsWritten) {
    WriteFile(folder / "a.bin", PatternBytes(4 * K));
    WriteFile(out + "001.pe", "old piece");
    folder.Subfolder("out/003.pe");
    EXPECT_EQ(RunSplit(folder / "a.bin", "1"), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::OutputIsFolder(out + "003.pe"));
    EXPECT_EQ(host.notices[0].second, NoticeKind::Failure);
    EXPECT_EQ(ReadFile(out + "001.pe"), "old piece") << "an old piece is no piece of this run";
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"001.pe", "003.pe"}));
    EXPECT_TRUE(host.progress.empty()) << "nothing copied";
}

TEST_F(Split, ChineseNamesRoundTrip) {
    WriteFile(folder / "电影 第1集.avi", PatternBytes(3 * K));
    host.batchFileWanted = true;
    EXPECT_EQ(RunSplit(folder / "电影 第1集.avi", "2"), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(ReadMergeDescriptor(out + "电影 第1集.hpe")->name, "电影 第1集.avi");
    EXPECT_TRUE(Exists(out + "电影 第1集.bat"));
}

}  // namespace
}  // namespace quilvane
