#include "formats.h"

#include <gtest/gtest.h>

#include "block_plan.h"
#include "paths.h"
#include "platform_file.h"
#include "scramble.h"
#include "test_support.h"
#include "texts.h"

namespace quilvane {
namespace {

using testing::ReadFile;
using testing::TempFolder;
using testing::WriteFile;

const std::string S(1, kPathSeparator);

TEST(PieceNames, ZeroFilledToThreeDigitsThenGrowing) {
    EXPECT_EQ(PieceFileName(1), "001.pe");
    EXPECT_EQ(PieceFileName(999), "999.pe");
    EXPECT_EQ(PieceFileName(1000), "1000.pe");
    EXPECT_EQ(PieceFileName(12345), "12345.pe");
}

TEST(Paths, NameAndBaseLoseOnlyFolderAndLastExtension) {
    EXPECT_EQ(NameOf("d" + S + "x" + S + "archive.tar.gz"), "archive.tar.gz");
    EXPECT_EQ(BaseOf("d" + S + "x" + S + "archive.tar.gz"), "archive.tar");
    EXPECT_EQ(BaseOf("d" + S + ".profile"), ".profile");
    EXPECT_EQ(BaseOf("tools.old" + S + "README"), "README");
    EXPECT_EQ(NameOf("README"), "README");
    EXPECT_EQ(FolderOf("a" + S + "b" + S + "c.hpe"), "a" + S + "b" + S);
    EXPECT_EQ(FolderOf("c.hpe"), "");
}

TEST(Paths, TrailingSeparatorAddedOnce) {
    EXPECT_EQ(EnsureTrailingSlash("out"), "out" + S);
    EXPECT_EQ(EnsureTrailingSlash("out" + S), "out" + S);
    EXPECT_EQ(EnsureTrailingSlash(""), "");
}

TEST(BlockPlan, BlocksCountedAcrossPiecesLargerThanABlock) {
    // 400 MiB pieces of a 1,000,000,000-byte file: two full pieces of two blocks, one short.
    const BlockPlan plan = BlockPlan::For(1'000'000'000, 419'430'400, kCopyBlockSize);
    EXPECT_EQ(plan.fullPieces, 2u);
    EXPECT_EQ(plan.lastPieceSize, 161'139'200u);
    EXPECT_EQ(plan.blocksPerPiece, 2u);
    EXPECT_EQ(plan.blockCount, 5u);
    EXPECT_EQ(plan.pieceCount(), 3u);
}

TEST(BlockPlan, SizesBeyondThirtyTwoBits) {
    const std::uint64_t gib = 1ull << 30;
    const BlockPlan plan = BlockPlan::For(5 * gib + 7, 2 * gib, kCopyBlockSize);
    EXPECT_EQ(plan.pieceCount(), 3u);
    EXPECT_EQ(plan.PieceLength(2), gib + 7);
    EXPECT_EQ(plan.blocksPerPiece, 7u);
    EXPECT_EQ(plan.blockCount, 2 * 7 + 4u);
}

TEST(Descriptor, OneLineOfNameSeparatorAndScrambledField) {
    Result<std::string> line = MergeDescriptorLine("movie.avi", "100", 'k', 3, 250000);
    ASSERT_TRUE(line) << line.message();
    EXPECT_EQ(*line, std::string("movie.avi?\x51\x44\x56\x4b\x59\x4f\x47\x4a\x10\x47\x58\x40\x54\r\n"));
}

TEST(Descriptor, WrittenAndReadBackWithLeadingZerosAndLargeNumbers) {
    TempFolder folder;
    ASSERT_TRUE(WriteMergeDescriptor(folder / "a.hpe", "a.bin", "0100", 'k', 3, 250000));
    Result<MergeDescriptor> read = ReadMergeDescriptor(folder / "a.hpe");
    ASSERT_TRUE(read) << read.message();
    EXPECT_EQ(read->name, "a.bin");
    EXPECT_EQ(read->sizeText, "0100k");
    EXPECT_EQ(read->pieceSize, 102400u);
    EXPECT_EQ(read->blockCount, 3u);
    EXPECT_EQ(read->sourceLength, 250000u);

    ASSERT_TRUE(WriteMergeDescriptor(folder / "b.hpe", "b.iso", "4096", 'm', 2, 5'000'000'000));
    read = ReadMergeDescriptor(folder / "b.hpe");
    ASSERT_TRUE(read) << read.message();
    EXPECT_EQ(read->pieceSize, 4096ull << 20);
    EXPECT_EQ(read->sourceLength, 5'000'000'000u);
}

TEST(Descriptor, ChineseNameStoredInTheChineseCodePage) {
    TempFolder folder;
    ASSERT_TRUE(WriteMergeDescriptor(folder / "c.hpe", "测试.txt", "1", 'm', 1, 1048576));
    EXPECT_EQ(ReadFile(folder / "c.hpe").substr(0, 9), "\xb2\xe2\xca\xd4.txt?");
    Result<MergeDescriptor> read = ReadMergeDescriptor(folder / "c.hpe");
    ASSERT_TRUE(read) << read.message();
    EXPECT_EQ(read->name, "测试.txt");
}

TEST(Descriptor, NamesThatWouldNotReadBackAreRefused) {
    EXPECT_FALSE(MergeDescriptorLine("a?b.txt", "1", 'k', 1, 1024));
    // Outside code page 936: written in GB18030 where the system has it, else refused,
    // but never written as question marks.
    Result<std::string> emoji = MergeDescriptorLine("😀.txt", "1", 'k', 1, 1024);
    if (emoji)
        EXPECT_EQ(emoji->substr(0, 4), "\x94\x39\xfc\x36");
    else
        EXPECT_EQ(emoji.message(), "文件名“😀.txt”含有当前代码页无法表示的字符，无法写入合并信息文件，请先改名");
}

TEST(Descriptor, MalformedDescriptorsNameTheirFault) {
    TempFolder folder;
    auto faultOf = [&](const std::string& bytes) -> std::string {
        WriteFile(folder / "x.hpe", bytes);
        Result<MergeDescriptor> read = ReadMergeDescriptor(folder / "x.hpe");
        return read ? "read as " + read->sizeText : read.message();
    };
    auto withField = [](const std::string& plain) { return "x.bin?" + ScrambleText(plain, kDescriptorKey) + "\r\n"; };
    EXPECT_NE(faultOf("").find("缺少文件名后的“?”"), std::string::npos);
    EXPECT_NE(faultOf("just a text file\r\n").find("缺少文件名后的“?”"), std::string::npos);
    EXPECT_NE(faultOf("?" + ScrambleText("100k:3:250000", kDescriptorKey)).find("缺少文件名"), std::string::npos);
    EXPECT_NE(faultOf(withField("100k3250000")).find("分块信息无法识别"), std::string::npos);
    EXPECT_NE(faultOf(withField("abck:3:250000")).find("分块信息无法识别"), std::string::npos);
    EXPECT_NE(faultOf(withField("100k:3:")).find("分块信息无法识别"), std::string::npos);
    EXPECT_NE(faultOf(withField("99999999999999999999k:3:5")).find("分块信息无法识别"), std::string::npos);
    EXPECT_NE(faultOf(withField("100K:3:250000")).find("单位不是k或m"), std::string::npos);
    EXPECT_NE(faultOf(withField("100g:3:250000")).find("单位不是k或m"), std::string::npos);
    EXPECT_NE(faultOf(withField("0k:3:250000")).find("为0"), std::string::npos);
    EXPECT_NE(faultOf(withField("100k:0:250000")).find("为0"), std::string::npos);
    EXPECT_NE(faultOf(withField("100k:3:0")).find("为0"), std::string::npos);
    EXPECT_NE(faultOf("x?" + std::string(70000, 'a')).find("分块信息无法识别"), std::string::npos);
    EXPECT_NE(faultOf("x?").find(folder / "x.hpe"), std::string::npos) << "names the file";
}

TEST(BatchFiles, SplitBatchCopiesBarePiecesToTheSourceName) {
    const std::string folder = "D:" + S + "out" + S;
    Result<std::string> three = SplitBatchLine({"001.pe", "002.pe", "003.pe"}, folder, "movie.avi");
    ASSERT_TRUE(three);
    EXPECT_EQ(*three, "copy 001.pe/b + 002.pe/b + 003.pe/b " + folder + "movie.avi\r\n");
    Result<std::string> one = SplitBatchLine({"001.pe"}, folder, "movie.avi");
    ASSERT_TRUE(one);
    EXPECT_EQ(*one, "copy 001.pe/b " + folder + "movie.avi\r\n");
}

TEST(BatchFiles, ListBatchJoinsFullPathsIntoATextFile) {
    const std::string a = "C:" + S + "a" + S;
    Result<std::string> line = ListMergeBatchLine({a + "x1.dat", a + "x2.dat"}, "D:" + S + "out" + S, "x1");
    ASSERT_TRUE(line);
    EXPECT_EQ(*line, "copy " + a + "x1.dat/b + " + a + "x2.dat/b D:" + S + "out" + S + "x1.txt\r\n");
}

TEST(BatchFiles, PathsThatCmdWouldSplitAreQuoted) {
    Result<std::string> line =
        ListMergeBatchLine({"C:\\my files\\a.dat", "C:\\x(1)\\b&c.dat", "C:\\50%\\d.dat"}, "D:\\new out\\", "a");
    ASSERT_TRUE(line);
    EXPECT_EQ(
        *line,
        "copy \"C:\\my files\\a.dat\"/b + \"C:\\x(1)\\b&c.dat\"/b + C:\\50%%\\d.dat/b \"D:\\new out\\a.txt\"\r\n");
    Result<std::string> split = SplitBatchLine({"001.pe"}, "D:\\影 片\\", "电影.avi");
    ASSERT_TRUE(split);
    EXPECT_EQ(*split, "copy 001.pe/b \"D:\\\xd3\xb0 \xc6\xac\\\xb5\xe7\xd3\xb0.avi\"\r\n") << "in the code page";
}

// The lines of a batch file without their CR LF.
std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(BatchFiles, LongListsAppendLineByLineWithinWhatCmdReads) {
    std::vector<std::string> pieces;
    for (int i = 1; i <= 1500; ++i) pieces.push_back(PieceFileName(i));
    const std::string folder = "D:" + S + "my out" + S;
    Result<std::string> text = SplitBatchLine(pieces, folder, "movie.avi");
    ASSERT_TRUE(text) << text.message();
    const std::string destination = "\"" + folder + "movie.avi\"";
    const std::vector<std::string> lines = LinesOf(*text);
    ASSERT_GT(lines.size(), 1u);
    std::string sources;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        EXPECT_LE(line.size(), 8191u) << "line " << i;
        // Every line writes the result and nothing else; every line after the first adds to it.
        const std::string end = " " + destination;
        ASSERT_EQ(line.compare(line.size() - end.size(), end.size(), end), 0) << line.substr(0, 40);
        const std::string start = i == 0 ? "copy " : "copy " + destination + "/b + ";
        ASSERT_EQ(line.rfind(start, 0), 0u) << line.substr(0, 60);
        sources += (i ? " + " : "") + line.substr(start.size(), line.size() - start.size() - end.size());
    }
    std::string expected;
    for (const std::string& piece : pieces) expected += (expected.empty() ? "" : " + ") + piece + "/b";
    EXPECT_EQ(sources, expected) << "every piece once, in order";
}

TEST(BatchFiles, PathTooLongForAnyLineIsRefused) {
    const std::string huge = "C:" + S + std::string(8200, 'd') + S + "a.dat";
    Result<std::string> line = ListMergeBatchLine({huge}, "D:" + S, "a");
    ASSERT_FALSE(line);
    EXPECT_EQ(line.message(), texts::BatchLineTooLong(huge));
}

TEST(BatchFiles, TextFileReplacesTheOldOneWhole) {
    TempFolder folder;
    WriteFile(folder / "x.bat", std::string(500, 'z'));
    ASSERT_TRUE(WriteTextFile(folder / "x.bat", "copy a/b b\r\n"));
    EXPECT_EQ(ReadFile(folder / "x.bat"), "copy a/b b\r\n");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"x.bat"}) << "no temporary file left";
}

}  // namespace
}  // namespace quilvane
