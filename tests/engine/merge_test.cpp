#include <gtest/gtest.h>

#include "formats.h"
#include "platform_file.h"
#include "scramble.h"
#include "task.h"
#include "test_support.h"
#include "texts.h"

namespace quilvane {
namespace {

using namespace testing;

constexpr std::size_t K = 1024;

struct Merge : ::testing::Test {
    TempFolder folder;
    std::string pieces = folder.Subfolder("pieces");
    std::string out = folder.Subfolder("out");
    RecordingHost host;

    // Splits `bytes`, saved as `name`, into the pieces folder.
    void SplitInto(const std::string& name, const std::string& bytes, const std::string& size, CopyLimits limits = {}) {
        WriteFile(folder / name, bytes);
        RecordingHost splitter;
        ASSERT_EQ(RunRecorded(SplitInputs(folder / name, pieces, size), splitter, limits), TaskOutcome::Done)
            << host.Notices();
    }
    TaskOutcome RunMerge(const std::string& descriptor, CopyLimits limits = {}) {
        return RunRecorded(MergeInputs(descriptor, out), host, limits);
    }
};

TEST_F(Merge, RebuildsTheSourceByteForByteInAnotherFolder) {
    const std::string bytes = PatternBytes(250000);
    SplitInto("movie.avi", bytes, "100");
    EXPECT_EQ(RunMerge(pieces + "movie.hpe"), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(out + "movie.avi"), bytes));
    EXPECT_EQ(host.OnlyNotice(), texts::kMergeDone);
    // Three blocks, 100 after the last; emptying the bar is the window's.
    ASSERT_EQ(host.progress.size(), 3u);
    EXPECT_FLOAT_EQ(host.progress[0], static_cast<float>(100.0 / 250000 * 102400));
    EXPECT_EQ(host.progress[2], 100.0f);
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{"movie.avi"}) << "no temporary file left";
    EXPECT_EQ(NamesIn(pieces).size(), 5u) << "pieces, descriptor and checksum list stay";
}

TEST_F(Merge, PiecesLargerThanABlockMergeBack) {
    const std::string bytes = PatternBytes(7 * K + 100);
    CopyLimits limits;
    limits.blockSize = 1000;
    limits.chunkSize = 100;
    SplitInto("big.bin", bytes, "3", limits);
    EXPECT_EQ(RunMerge(pieces + "big.hpe", limits), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(out + "big.bin"), bytes));
    EXPECT_EQ(host.progress.size(), 10u);
}

TEST_F(Merge, ReplacesAnExistingLongerFileCompletely) {
    const std::string bytes = PatternBytes(3 * K);
    SplitInto("f.bin", bytes, "1");
    WriteFile(out + "f.bin", PatternBytes(10 * K, 4));
    EXPECT_EQ(RunMerge(pieces + "f.hpe"), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(out + "f.bin"), bytes));
}

TEST_F(Merge, ReadOnlyFileOfTheSameNameIsLeftAsItWas) {
    SplitInto("f.bin", PatternBytes(3 * K), "1");
    const std::string old = PatternBytes(10, 4);
    WriteFile(out + "f.bin", old);
    ReadOnlyFile readOnly(out + "f.bin");
    EXPECT_EQ(RunMerge(pieces + "f.hpe"), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::OutputIsReadOnly(out + "f.bin"));
    EXPECT_TRUE(SameBytes(ReadFile(out + "f.bin"), old));
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{"f.bin"}) << "no backup or temporary file left";
}

TEST_F(Merge, MissingOrWrongPiecesStopItBeforeAnythingIsWritten) {
    SplitInto("f.bin", PatternBytes(3 * K + 1), "1");
    const std::string existing = "the user's own file";
    WriteFile(out + "f.bin", existing);

    WriteFile(pieces + "002.pe", PatternBytes(K - 1));
    EXPECT_EQ(RunMerge(pieces + "f.hpe"), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::PieceWrongLength(pieces + "002.pe", K - 1, K));

    ASSERT_TRUE(RemoveFile(pieces + "004.pe"));
    WriteFile(pieces + "002.pe", PatternBytes(K));
    host.notices.clear();
    EXPECT_EQ(RunMerge(pieces + "f.hpe"), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::PieceMissing(pieces + "004.pe"));

    EXPECT_EQ(ReadFile(out + "f.bin"), existing);
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{"f.bin"});
}

TEST_F(Merge, DescriptorThatDoesNotAddUpIsRefused) {
    // N must match P and F: 100k of 250000 bytes is 3 blocks, not 4.
    WriteFile(pieces + "x.hpe", "x.bin?" + ScrambleText("100k:4:250000", kDescriptorKey) + "\r\n");
    EXPECT_EQ(RunMerge(pieces + "x.hpe"), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::DescriptorMalformed(pieces + "x.hpe", texts::kCountMismatch));
    WriteFile(pieces + "y.hpe", "garbage");
    EXPECT_EQ(RunMerge(pieces + "y.hpe"), TaskOutcome::Failed);
    EXPECT_TRUE(NamesIn(out).empty());
}

TEST_F(Merge, NameThatLeavesTheTargetFolderIsRefused) {
    for (const std::string name : {"../escape.bin", "..", "sub/inner.bin"}) {
        WriteFile(pieces + "x.hpe", name + "?" + ScrambleText("1k:1:1024", kDescriptorKey) + "\r\n");
        WriteFile(pieces + "001.pe", PatternBytes(K));
        host.notices.clear();
        EXPECT_EQ(RunMerge(pieces + "x.hpe"), TaskOutcome::Failed) << name;
        EXPECT_EQ(host.OnlyNotice(), texts::DescriptorNameUnsafe(pieces + "x.hpe", name));
    }
    EXPECT_FALSE(Exists(folder / "escape.bin"));
    EXPECT_TRUE(NamesIn(out).empty());
}

TEST_F(Merge, NeverOverwritesAPieceOrTheDescriptor) {
    // A source once named 001.pe, merged back into the pieces' own folder.
    const std::string bytes = PatternBytes(2 * K);
    SplitInto("001.pe", bytes, "1");
    EXPECT_EQ(RunRecorded(MergeInputs(pieces + "001.hpe", pieces), host), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::WouldOverwriteInput(pieces + "001.pe", pieces + "001.pe"));
    EXPECT_TRUE(SameBytes(ReadFile(pieces + "001.pe"), bytes.substr(0, K)));

    WriteFile(pieces + "d.hpe", "d.hpe?" + ScrambleText("1k:2:2048", kDescriptorKey) + "\r\n");
    host.notices.clear();
    EXPECT_EQ(RunRecorded(MergeInputs(pieces + "d.hpe", pieces), host), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::WouldOverwriteInput(pieces + "d.hpe", pieces + "d.hpe"));
}

TEST_F(Merge, ChecksNameTheMissingDescriptorAndFolder) {
    EXPECT_EQ(RunRecorded(MergeInputs(pieces + "none.hpe", out), host), TaskOutcome::Failed);
    EXPECT_EQ(RunRecorded(MergeInputs("", out), host), TaskOutcome::Failed);
    SplitInto("f.bin", PatternBytes(2 * K), "1");
    EXPECT_EQ(RunRecorded(MergeInputs(pieces + "f.hpe", ""), host), TaskOutcome::Failed);
    ASSERT_EQ(host.notices.size(), 3u);
    EXPECT_EQ(host.notices[0].first, texts::kNoFileToMerge);
    EXPECT_EQ(host.notices[1].first, texts::kNoFileToMerge);
    EXPECT_EQ(host.notices[2].first, texts::kNoTargetFolder);
}

TEST_F(Merge, SuccessIsOneNoticeTheWindowCanCloseAfter) {
    SplitInto("f.bin", PatternBytes(2 * K), "1");
    EXPECT_EQ(RunMerge(pieces + "f.hpe"), TaskOutcome::Done) << host.Notices();
    ASSERT_EQ(host.notices.size(), 1u);
    EXPECT_EQ(host.notices[0], std::make_pair(std::string(texts::kMergeDone), NoticeKind::Success));
}

}  // namespace
}  // namespace quilvane
