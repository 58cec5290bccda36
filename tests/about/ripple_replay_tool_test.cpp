// ripple-replay run as a user runs it: exit status, standard error and the files it leaves.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "bmp_image.h"
#include "pattern_picture.h"
#include "replay_script.h"
#include "test_support.h"

namespace quilvane::about {
namespace {

using namespace quilvane::testing;
using about::testing::PatternPicture;

struct Outcome {
    int status = -1;
    std::string err;
};

struct ReplayTool : ::testing::Test {
    TempFolder work;

    // The arguments are single-quoted for the shell; the temporary folders hold no quotes.
    Outcome RunTool(const std::vector<std::string>& arguments) {
        std::string command = "'" RIPPLE_REPLAY "'";
        for (const std::string& argument : arguments) command += " '" + argument + "'";
        command += " >'" + work / "out.txt" + "' 2>'" + work / "err.txt" + "'";
        const int raw = std::system(command.c_str());
        Outcome run;
        run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        run.err = ReadFile(work / "err.txt");
        EXPECT_EQ(ReadFile(work / "out.txt"), "") << "nothing goes to standard output";
        return run;
    }
};

TEST_F(ReplayTool, WritesWhatTheWindowWouldShow) {
    const Picture picture = PatternPicture(37, 23);
    WriteFile(work / "in.bmp", EncodeBmp(picture));
    const std::string script = "seed 5\ndrop 18 11 2 6\ntick 4\nauto 3 10 2 5\ntick 2\n";
    WriteFile(work / "script.txt", script);
    WriteFile(work / "out.bmp", "an older result");
    Outcome run = RunTool({work / "in.bmp", work / "script.txt", work / "out.bmp"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadFile(work / "out.bmp"), EncodeBmp(about::Replay(picture, *ParseReplayScript(script))));
    EXPECT_EQ(NamesIn(work.Path()), (std::vector<std::string>{"err.txt", "in.bmp", "out.bmp", "out.txt", "script.txt"}))
        << "no temporary file is left";
}

TEST_F(ReplayTool, AMistakeLeavesNoOutputAndSaysWhere) {
    WriteFile(work / "in.bmp", EncodeBmp(PatternPicture(10, 9)));
    WriteFile(work / "bad.txt", "tick 3\n\ndrop 1 2\n");
    Outcome run = RunTool({work / "in.bmp", work / "bad.txt", work / "out.bmp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "脚本“" + work / "bad.txt" + "”第 3 行：参数个数不对，应为“drop X Y SIZE STRENGTH”\n");
    EXPECT_FALSE(Exists(work / "out.bmp"));

    WriteFile(work / "unknown.txt", "splash 1\n");
    run = RunTool({work / "in.bmp", work / "unknown.txt", work / "out.bmp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "脚本“" + work / "unknown.txt" + "”第 1 行：未知命令“splash”\n");

    WriteFile(work / "endless.txt", "auto 3 2147483647 2 50\ntick\n");  // hours of work
    run = RunTool({work / "in.bmp", work / "endless.txt", work / "out.bmp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "脚本“" + work / "endless.txt" + "”第 2 行：工作量到这里超过了上限 100 亿步，请减少计时周期或水滴\n");
    EXPECT_FALSE(Exists(work / "out.bmp"));

    WriteFile(work / "kept.bmp", "mine");
    run = RunTool({work / "in.bmp", work / "unknown.txt", work / "kept.bmp"});
    EXPECT_EQ(ReadFile(work / "kept.bmp"), "mine") << "an existing file is left as it was";
}

TEST_F(ReplayTool, APictureItCannotReadIsNamed) {
    WriteFile(work / "script.txt", "tick\n");
    WriteFile(work / "text.bmp", "hello");
    Outcome run = RunTool({work / "text.bmp", work / "script.txt", work / "out.bmp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "无法读取图片“" + work / "text.bmp" + "”：不是 BMP 图片\n");
    run = RunTool({work / "missing.bmp", work / "script.txt", work / "out.bmp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "打开文件“" + work / "missing.bmp" + "”失败：No such file or directory\n");
    EXPECT_FALSE(Exists(work / "out.bmp"));

    std::filesystem::resize_file(work / "text.bmp", 300u << 20);  // sparse: a file no picture is as large as
    run = RunTool({work / "text.bmp", work / "script.txt", work / "out.bmp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "文件“" + work / "text.bmp" + "”太大（300.0 MB），不能超过256.0 MB\n");

    run = RunTool({work / "text.bmp"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("用法：ripple-replay 图片.bmp 脚本 输出.bmp\n", 0), 0u) << run.err;
}

TEST_F(ReplayTool, AnUnwritableOutputIsNamedAndNothingIsLeft) {
    WriteFile(work / "in.bmp", EncodeBmp(PatternPicture(10, 9)));
    WriteFile(work / "script.txt", "tick\n");
    const std::string missingFolder = work / "nowhere/";
    Outcome run = RunTool({work / "in.bmp", work / "script.txt", missingFolder + "out.bmp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("无法写入文件夹“" + missingFolder + "”", 0), 0u) << run.err;
}

}  // namespace
}  // namespace quilvane::about
