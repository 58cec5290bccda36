#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <csignal>
#include <thread>

#include <gtest/gtest.h>

#include "test_support.h"
#include "texts.h"

namespace quilvane {
namespace {

using namespace testing;

struct Outcome {
    int exitCode = -1;
    std::string out, err;
};

// Starts the tool with exactly these arguments (no shell) in `folder` ("" for this one),
// standard output and error to files in `scratch`.
pid_t StartTool(const TempFolder& scratch, std::vector<std::string> arguments, const std::string& folder = "") {
    arguments.insert(arguments.begin(), QUILVANE_CLI);
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string outPath = scratch / "stdout.txt", errPath = scratch / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t child = -1;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) child = -1;
    posix_spawn_file_actions_destroy(&actions);
    return child;
}

// Waits for the tool; the exit code, or -signal when a signal ended it.
Outcome Finished(const TempFolder& scratch, pid_t child) {
    Outcome outcome;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child)
        outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? -WTERMSIG(status) : -1;
    outcome.out = ReadFile(scratch / "stdout.txt");
    outcome.err = ReadFile(scratch / "stderr.txt");
    return outcome;
}

Outcome RunTool(const TempFolder& scratch, std::vector<std::string> arguments, const std::string& folder = "") {
    return Finished(scratch, StartTool(scratch, std::move(arguments), folder));
}

struct Cli : ::testing::Test {
    TempFolder scratch;
    TempFolder work;
    Outcome Run(std::vector<std::string> arguments, const std::string& folder = "") {
        return RunTool(scratch, std::move(arguments), folder);
    }
};

TEST_F(Cli, SplitsAndMergesBackByteForByte) {
    const std::string bytes = PatternBytes(2500);
    WriteFile(work / "data.bin", bytes);
    const std::string pieces = work.Subfolder("pieces"), back = work.Subfolder("back");

    Outcome split = Run({"split", work / "data.bin", "01k", pieces});
    EXPECT_EQ(split.exitCode, 0);
    EXPECT_EQ(split.out, "文件分割完毕!\n");
    EXPECT_EQ(split.err, "") << "no progress line when standard error is no terminal";
    EXPECT_EQ(NamesIn(pieces), (std::vector<std::string>{"001.pe", "002.pe", "003.pe", "data.hpe", "data.sha256"}));

    Outcome merge = Run({"merge", pieces + "data.hpe", back});
    EXPECT_EQ(merge.exitCode, 0);
    EXPECT_EQ(merge.out, "文件合并完毕!\n");
    EXPECT_EQ(merge.err, "");
    EXPECT_TRUE(SameBytes(ReadFile(back + "data.bin"), bytes));
}

TEST_F(Cli, VerifyNamesEveryFaultyPieceAndOtherToolsReadTheList) {
    WriteFile(work / "data.bin", PatternBytes(5000));
    const std::string pieces = work.Subfolder("pieces"), back = work.Subfolder("back");
    ASSERT_EQ(Run({"split", work / "data.bin", "1k", pieces}).exitCode, 0);
    EXPECT_EQ(std::system(("cd '" + pieces + "' && sha256sum -c --strict --quiet data.sha256").c_str()), 0);

    Outcome intact = Run({"verify", pieces + "data.hpe"});
    EXPECT_EQ(intact.exitCode, 0);
    EXPECT_EQ(intact.out, "所有分块完好\n");
    EXPECT_EQ(intact.err, "");

    std::string second = ReadFile(pieces + "002.pe");
    second[7] ^= 1;
    WriteFile(pieces + "002.pe", second);
    WriteFile(pieces + "004.pe", "short");
    ASSERT_EQ(::unlink((pieces + "005.pe").c_str()), 0);
    Outcome damaged = Run({"verify", pieces + "data.hpe"});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_EQ(damaged.out, "");
    EXPECT_EQ(damaged.err, texts::PieceNotAsListed(pieces + "002.pe") + "\n" +
                               texts::PieceLengthWrong(pieces + "004.pe", 5, 1024) + "\n" +
                               texts::PieceNotFound(pieces + "005.pe") + "\n");
    EXPECT_EQ(Run({"verify"}).exitCode, 2);

    // Merging without the check gives what the pieces hold.
    ASSERT_EQ(Run({"split", work / "data.bin", "1k", pieces}).exitCode, 0);
    WriteFile(pieces + "002.pe", second);
    EXPECT_EQ(Run({"merge", pieces + "data.hpe", back}).exitCode, 1);
    EXPECT_EQ(NamesIn(back), std::vector<std::string>{});
    EXPECT_EQ(Run({"merge", "--no-verify", pieces + "data.hpe", back}).exitCode, 0);
    EXPECT_EQ(ReadFile(back + "data.bin").substr(1024, 1024), second);
}

TEST_F(Cli, BatOptionWritesTheRejoiningBatchFile) {
    WriteFile(work / "v.avi", PatternBytes(2048));
    const std::string pieces = work.Subfolder("pieces");
    EXPECT_EQ(Run({"split", "--bat", work / "v.avi", "1k", pieces}).exitCode, 0);
    EXPECT_EQ(ReadFile(pieces + "v.bat"), "copy 001.pe/b + 002.pe/b " + pieces + "v.avi\r\n");
}

TEST_F(Cli, JoinTakesItsNameFromTheChosenEntry) {
    WriteFile(work / "a.part", "left ");
    WriteFile(work / "b.part", "right");
    const std::string out = work.Subfolder("out");
    Outcome join = Run({"join", "--name", "2", out, work / "a.part", work / "b.part"});
    EXPECT_EQ(join.exitCode, 0) << join.err;
    EXPECT_EQ(join.out, "文件合并完毕!\n");
    EXPECT_EQ(ReadFile(out + "b.txt"), "left right");
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"b.bat", "b.txt"}));
}

TEST_F(Cli, FailuresGoToStandardErrorWithExitStatusOne) {
    const std::string out = work.Subfolder("out");
    Outcome missing = Run({"split", work / "nothing.bin", "1k", out});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "请指定待分割文件!\n");

    WriteFile(work / "small.bin", "tiny");
    Outcome small = Run({"split", work / "small.bin", "1k", out});
    EXPECT_EQ(small.exitCode, 1);
    EXPECT_EQ(small.err, "你不需要分割这个文件!\n");

    Outcome noFolder = Run({"merge", work / "small.bin", work / "no-such-folder"});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_EQ(noFolder.err, "请指定保存目录!\n");
    EXPECT_TRUE(NamesIn(out).empty());
}

TEST_F(Cli, UsageErrorsExitWithTwoAndExplain) {
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{},
                                                  {"split", "a", "100"},
                                                  {"split", "a", "10x", "b"},
                                                  {"split", "a", "k", "b"},
                                                  {"merge", "a"},
                                                  {"join", "out"},
                                                  {"join", "--name", "0", "out", "a"},
                                                  {"join", "--name", "3", "out", "a"},
                                                  {"join", "--name"},
                                                  {"split", "--bta", "a", "1k", "b"},
                                                  {"merge", "-x", "a", "b"},
                                                  {"cut", "a"}}) {
        Outcome outcome = Run(wrong);
        EXPECT_EQ(outcome.exitCode, 2) << ::testing::PrintToString(wrong);
        EXPECT_EQ(outcome.out, "");
        EXPECT_NE(outcome.err.find("用法："), std::string::npos);
    }
    Outcome help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.out.rfind("用法：", 0), 0u);
    EXPECT_EQ(help.err, "");
}

TEST_F(Cli, DoubleDashMakesTheRestOperandsEvenWithALeadingDash) {
    WriteFile(work / "-x", PatternBytes(2048));
    work.Subfolder("out");
    Outcome split = Run({"split", "--", "-x", "1k", "out"}, work.Path());
    EXPECT_EQ(split.exitCode, 0) << split.err;
    EXPECT_EQ(NamesIn(work / "out"), (std::vector<std::string>{"-x.hpe", "-x.sha256", "001.pe", "002.pe"}));
    Outcome batAsFile = Run({"split", "--", "--bat", "1k", "out"}, work.Path());
    EXPECT_EQ(batAsFile.exitCode, 1) << "--bat after -- is a file name";
    EXPECT_EQ(batAsFile.err, "请指定待分割文件!\n");
}

TEST_F(Cli, TerminationDuringAJoinLeavesEverythingAsItWas) {
    // A sparse gigabyte takes long enough to copy for the signal to arrive while it runs.
    const std::string big = work / "big.img";
    const int fd = ::open(big.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::ftruncate(fd, 1 << 30), 0);
    ::close(fd);
    const std::string out = work.Subfolder("out");
    WriteFile(out + "big.txt", "old join");
    WriteFile(out + "big.bat", "old batch");
    const pid_t tool = StartTool(scratch, {"join", out, big});
    ASSERT_GT(tool, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (TemporaryNamesIn(out).empty() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_FALSE(TemporaryNamesIn(out).empty()) << "the join never started";
    ::kill(tool, SIGTERM);
    Outcome join = Finished(scratch, tool);
    EXPECT_EQ(join.exitCode, -SIGTERM) << "ends as the signal would have ended it";
    EXPECT_EQ(join.err, std::string(texts::kInterrupted) + "\n");
    EXPECT_EQ(ReadFile(out + "big.txt"), "old join");
    EXPECT_EQ(ReadFile(out + "big.bat"), "old batch");
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"big.bat", "big.txt"}));
}

}  // namespace
}  // namespace quilvane
