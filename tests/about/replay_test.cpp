#include "replay_script.h"

#include <gtest/gtest.h>

#include "bmp_image.h"
#include "pattern_picture.h"
#include "replay_work.h"
#include "test_support.h"

namespace quilvane::about {
namespace {

using namespace quilvane::testing;
using about::testing::PatternPicture;

// The same picture stored with its rows the other way up, in a header of a later layout.
std::string TopDownBmp(const Picture& picture) {
    std::string bytes = EncodeBmp(picture);
    const std::size_t stride = static_cast<std::size_t>(RippleStride(picture.width));
    std::string rows;
    for (std::size_t row = static_cast<std::size_t>(picture.height); row-- > 0;)
        rows += bytes.substr(54 + row * stride, stride);
    const std::int32_t negative = -picture.height;
    bytes.replace(22, 4, reinterpret_cast<const char*>(&negative), 4);
    return bytes.substr(0, 54) + rows;
}

void Poke(std::string& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

TEST(Bitmap, ReadsBottomUpAndTopDownRowsAlike) {
    const Picture picture = PatternPicture(13, 5);  // 39 bytes a row, padded to 40
    Result<Picture> bottomUp = DecodeBmp(EncodeBmp(picture));
    ASSERT_TRUE(bottomUp) << bottomUp.message();
    EXPECT_EQ(bottomUp->width, 13);
    EXPECT_EQ(bottomUp->height, 5);
    EXPECT_EQ(bottomUp->pixels, picture.pixels);
    Result<Picture> topDown = DecodeBmp(TopDownBmp(picture));
    ASSERT_TRUE(topDown) << topDown.message();
    EXPECT_EQ(topDown->pixels, picture.pixels);

    std::string dirty = EncodeBmp(picture);
    for (int row = 0; row < 5; ++row) dirty[54 + row * 40 + 39] = '\x5A';  // junk in the row ends
    Result<Picture> padded = DecodeBmp(dirty);
    ASSERT_TRUE(padded);
    EXPECT_EQ(padded->pixels, picture.pixels) << "row ends are read as zero";
}

TEST(Bitmap, RefusesWhatItCannotShowWithAReason) {
    const std::string good = EncodeBmp(PatternPicture(4, 3));
    auto reason = [](const std::string& bytes) {
        Result<Picture> picture = DecodeBmp(bytes);
        return picture ? std::string("<read>") : picture.message();
    };
    EXPECT_EQ(reason("GIF89a"), "不是 BMP 图片");
    EXPECT_EQ(reason(""), "不是 BMP 图片");
    std::string bits = good;
    Poke(bits, 28, 32, 2);
    EXPECT_EQ(reason(bits), "不是 24 位图片（本图每像素 32 位）");
    std::string packed = good;
    Poke(packed, 30, 1, 4);
    EXPECT_EQ(reason(packed), "是压缩的或无法识别的 BMP 图片");
    EXPECT_EQ(reason(good.substr(0, good.size() - 1)), "BMP 图片不完整");
    EXPECT_EQ(reason(good.substr(0, 30)), "BMP 图片不完整");
    std::string empty = good;
    Poke(empty, 18, 0, 4);
    EXPECT_EQ(reason(empty), "图片的宽度或高度为 0");
    std::string huge = good;
    Poke(huge, 18, 0x7FFFFFFF, 4);
    Poke(huge, 22, 0x80000000, 4);  // the most negative height
    EXPECT_EQ(reason(huge).substr(0, 12), "图片太大");
    std::string beyond = good;
    Poke(beyond, 10, 0xFFFFFFF0, 4);
    EXPECT_EQ(reason(beyond), "BMP 图片不完整") << "pixels said to start past the end";
}

TEST(ReplayScript, SkipsCommentsAndBlankLinesAndCountsTicks) {
    Result<std::vector<ReplayCommand>> commands = ParseReplayScript(
        "\xEF\xBB\xBF# a comment\r\n\n  seed -12\r\n\tdrop 5 6 2 256\ntick\ntick 0\n  # indented\nauto 3 250 4 8");
    ASSERT_TRUE(commands) << commands.message();
    ASSERT_EQ(commands->size(), 5u);
    EXPECT_EQ((*commands)[0].kind, ReplayCommand::Kind::Seed);
    EXPECT_EQ((*commands)[0].arguments[0], -12);
    EXPECT_EQ((*commands)[1].arguments, (std::array<std::int32_t, 4>{5, 6, 2, 256}));
    EXPECT_EQ((*commands)[2].arguments[0], 1) << "tick without a count is one tick";
    EXPECT_EQ((*commands)[3].arguments[0], 0);
    EXPECT_EQ((*commands)[4].kind, ReplayCommand::Kind::Auto);
}

TEST(ReplayScript, NamesTheLineOfEveryMistake) {
    auto failure = [](const std::string& script) {
        Result<std::vector<ReplayCommand>> commands = ParseReplayScript(script);
        return commands ? std::string("<parsed>") : commands.message();
    };
    EXPECT_EQ(failure("tick\njump 1 2\n"), "第 2 行：未知命令“jump”");
    EXPECT_EQ(failure("Tick"), "第 1 行：未知命令“Tick”");
    EXPECT_EQ(failure("\n\ndrop 1 2 3"), "第 3 行：参数个数不对，应为“drop X Y SIZE STRENGTH”");
    EXPECT_EQ(failure("seed"), "第 1 行：参数个数不对，应为“seed N”");
    EXPECT_EQ(failure("tick 1 2"), "第 1 行：参数个数不对，应为“tick [K]”");
    EXPECT_EQ(failure("drop 1 2 3 4x"), "第 1 行：“4x”不是整数");
    EXPECT_EQ(failure("drop 1 2 3 +4"), "第 1 行：“+4”不是整数");
    EXPECT_EQ(failure("seed 2147483648"), "第 1 行：“2147483648”超出 32 位整数的范围");
    EXPECT_EQ(failure("tick -1"), "第 1 行：次数不能是负数");
    EXPECT_EQ(failure("auto 4 0 0 0"), "第 1 行：模式只能是 0（关）、1（雨滴）、2（游走的水滴）或 3（成片的小水滴）");
    EXPECT_EQ(failure("drop 1 2 3 4 # note"), "第 1 行：参数个数不对，应为“drop X Y SIZE STRENGTH”");
}

TEST(ReplayWork, RefusesAScriptAtTheLineWhereItsWorkPassesTheLimit) {
    auto verdict = [](const std::string& script, std::int32_t width, std::int32_t height) {
        Result<std::vector<ReplayCommand>> commands = ParseReplayScript(script);
        Result<std::int64_t> steps = ReplaySteps(*commands, width, height);
        return steps ? std::to_string(*steps) : steps.message();
    };
    const std::string tooMuch = "行：工作量到这里超过了上限 100 亿步，请减少计时周期或水滴";
    // 90 cells: 111,111,110 ticks leave 100 steps, one drop of 10 plus the whole picture.
    EXPECT_EQ(verdict("tick 111111110\ndrop 5 4 2147483647 0\n", 10, 9), "10000000000");
    EXPECT_EQ(verdict("tick 111111110\ndrop 5 4 2147483647 0\n# one more\ndrop 5 4 0 0\n", 10, 9), "第 4 " + tooMuch);
    EXPECT_EQ(verdict("auto 3 2147483647 2 50\ntick\n", 10, 9), "第 2 " + tooMuch) << "2^31 drops in one tick";
    EXPECT_EQ(verdict("auto 3 2147483647 2 50\nauto 0 0 0 0\ntick 111111111\n", 10, 9), "9999999990")
        << "mode 0 adds no drops";
    EXPECT_EQ(verdict("seed 1\nauto 1 5 4 150\ntick 3000\n", 317, 310), std::to_string(3000 * (317 * 310 + 10 + 25)))
        << "a long rain on the About picture";
    EXPECT_EQ(verdict("auto 3 2147483647 0 0\ntick 2147483647\n", kMaxPictureSide, kMaxPicturePixels / kMaxPictureSide),
              "第 2 " + tooMuch)
        << "a product past 2^63 is not wrapped round";
}

TEST(Replay, AnEmptyScriptShowsThePictureAndWildNumbersStayHarmless) {
    const Picture picture = PatternPicture(10, 9);
    EXPECT_EQ(Replay(picture, {}).pixels, picture.pixels);
    Result<std::vector<ReplayCommand>> wild = ParseReplayScript(
        "drop 5 4 2 2147483647\ndrop -2147483648 5 2147483647 -2147483648\n"
        "auto 2 2147483647 -2147483648 2147483647\ntick 3\nauto 1 -5 0 -2147483648\ntick 3\n"
        "auto 3 3 2147483647 2147483647\ntick 2\n");
    ASSERT_TRUE(wild) << wild.message();
    EXPECT_EQ(Replay(picture, *wild).pixels.size(), picture.pixels.size());
}

// Scripts and the frames they must produce, kept in tests/about/golden. A frame that differs is
// written beside the test program as NAME.actual.bmp, to be looked at (and copied over the
// golden one when the change is intended).
struct GoldenCase {
    const char* name;
    std::int32_t width, height;
};

class GoldenFrame : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenFrame, MatchesTheStoredFrame) {
    const GoldenCase& golden = GetParam();
    const std::string base = std::string(RIPPLE_GOLDEN_DIR) + "/" + golden.name;
    Result<std::vector<ReplayCommand>> commands = ParseReplayScript(ReadFile(base + ".txt"));
    ASSERT_TRUE(commands) << commands.message();
    const std::string shown = EncodeBmp(Replay(PatternPicture(golden.width, golden.height), *commands));
    const std::string expected = ReadFile(base + ".bmp");
    if (shown != expected) WriteFile(std::string(golden.name) + ".actual.bmp", shown);
    EXPECT_TRUE(shown == expected) << golden.name << ": the frame differs; see " << golden.name << ".actual.bmp";
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenFrame,
                         ::testing::Values(GoldenCase{"drops", 13, 11}, GoldenCase{"rain", 37, 23},
                                           GoldenCase{"wandering", 10, 9}, GoldenCase{"bursts", 13, 11}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

}  // namespace
}  // namespace quilvane::about
