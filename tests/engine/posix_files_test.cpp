// What only a POSIX system lets a test arrange: pipes in place of files, a write limit that
// acts like a full disk, real signals, and names that are no text at all.

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

#include <gtest/gtest.h>

#include "interruption.h"
#include "platform_file.h"
#include "task.h"
#include "test_support.h"
#include "texts.h"

namespace quilvane {
namespace {

using namespace testing;

constexpr std::size_t K = 1024;

// Writes past `bytes` fail with EFBIG for as long as it lives, as on a disk that is full.
class WriteLimit {
public:
    explicit WriteLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~WriteLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, SIG_DFL);
    }

private:
    rlimit saved_{};
};

struct PosixFiles : ::testing::Test {
    TempFolder folder;
    std::string pieces = folder.Subfolder("pieces");
    std::string out = folder.Subfolder("out");
    RecordingHost host;
    ClearsInterrupt clearsInterrupt;

    void SplitF() { MakePieces(folder / "f.bin", PatternBytes(3 * K), pieces); }
    std::string Fifo(const std::string& path) {
        EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0) << std::strerror(errno);
        return path;
    }
};

TEST_F(PosixFiles, PipesAreRefusedNeverWaitedOn) {
    SplitF();
    const std::string pipe = Fifo(folder / "pipe");
    EXPECT_EQ(RunRecorded(SplitInputs(pipe, out, "1"), host), TaskOutcome::Failed);
    EXPECT_EQ(RunRecorded(MergeInputs(pipe, out), host), TaskOutcome::Failed);
    WriteFile(folder / "a.dat", "a");
    EXPECT_EQ(RunRecorded(ListInputs({folder / "a.dat", pipe}, out), host), TaskOutcome::Failed);
    ASSERT_TRUE(RemoveFile(pieces + "002.pe"));
    Fifo(pieces + "002.pe");
    EXPECT_EQ(RunRecorded(MergeInputs(pieces + "f.hpe", out), host), TaskOutcome::Failed);
    ASSERT_EQ(host.notices.size(), 4u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(host.notices[i].first, texts::NotARegularFile(pipe)) << i;
    EXPECT_EQ(host.notices[3].first, texts::NotARegularFile(pieces + "002.pe"));
    EXPECT_TRUE(NamesIn(out).empty());
}

TEST_F(PosixFiles, PipeWhereTheOutputGoesIsLeftAlone) {
    SplitF();
    Fifo(out + "f.bin");
    EXPECT_EQ(RunRecorded(MergeInputs(pieces + "f.hpe", out), host), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::NotARegularFile(out + "f.bin"));
    struct stat info {};
    ASSERT_EQ(::stat((out + "f.bin").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}

TEST_F(PosixFiles, FullDiskMidwayMergeChangesNoFileThatWasThere) {
    SplitF();
    const std::vector<std::string> oldPieces = NamesIn(pieces);
    WriteFile(out + "f.bin", "old f.bin");
    WriteFile(folder / "x1.dat", PatternBytes(2 * K, 1));
    WriteFile(out + "x1.txt", "old join");
    WriteFile(out + "x1.bat", "old batch");
    {
        WriteLimit limit(1500);
        EXPECT_EQ(RunRecorded(MergeInputs(pieces + "f.hpe", out), host), TaskOutcome::Failed);
        EXPECT_EQ(RunRecorded(ListInputs({folder / "x1.dat"}, out), host), TaskOutcome::Failed);
    }
    ASSERT_EQ(host.notices.size(), 2u);
    EXPECT_EQ(host.notices[0].first, texts::WriteFailed(out + "f.bin", std::strerror(EFBIG)));
    EXPECT_EQ(host.notices[1].first, texts::WriteFailed(out + "x1.txt", std::strerror(EFBIG)));
    EXPECT_EQ(NamesIn(pieces), oldPieces);
    EXPECT_EQ(ReadFile(out + "f.bin"), "old f.bin");
    EXPECT_EQ(ReadFile(out + "x1.txt"), "old join");
    EXPECT_EQ(ReadFile(out + "x1.bat"), "old batch");
    EXPECT_EQ(NamesIn(out), (std::vector<std::string>{"f.bin", "x1.bat", "x1.txt"}));
}

TEST_F(PosixFiles, FullDiskMidwaySplitKeepsTheOldPiecesOfTheSameSource) {
    SplitF();
    const std::string before = ReadFile(pieces + "001.pe") + ReadFile(pieces + "002.pe") + ReadFile(pieces + "003.pe");
    const std::string descriptor = ReadFile(pieces + "f.hpe");
    WriteFile(folder / "f.bin", PatternBytes(4 * K, 6));
    {
        WriteLimit limit(1500);
        EXPECT_EQ(RunRecorded(SplitInputs(folder / "f.bin", pieces, "2"), host), TaskOutcome::Failed);
    }
    EXPECT_EQ(host.OnlyNotice(), texts::WriteFailed(pieces + "001.pe", std::strerror(EFBIG)));
    EXPECT_EQ(ReadFile(pieces + "001.pe") + ReadFile(pieces + "002.pe") + ReadFile(pieces + "003.pe"), before);
    EXPECT_EQ(ReadFile(pieces + "f.hpe"), descriptor);
    EXPECT_EQ(NamesIn(pieces), (std::vector<std::string>{"001.pe", "002.pe", "003.pe", "f.hpe", "f.sha256"}));
}

TEST_F(PosixFiles, SignalStopsTheTaskAndItsTemporaryFilesGo) {
    SplitF();
    InstallInterruptHandlers();
    host.stopFlag = &ProcessInterrupt();
    host.duringTask = [](int) { std::raise(SIGTERM); };
    EXPECT_EQ(RunRecorded(MergeInputs(pieces + "f.hpe", out), host), TaskOutcome::Stopped);
    std::signal(SIGTERM, SIG_DFL);
    EXPECT_EQ(host.OnlyNotice(), texts::kInterrupted);
    EXPECT_TRUE(ProcessInterrupt().Requested());
    EXPECT_TRUE(NamesIn(out).empty());
}

TEST_F(PosixFiles, SignalsDuringTheMovesIntoPlaceRollBackAndDoNotKill) {
    // A join moves its joined file, then its batch file.
    WriteFile(folder / "g.dat", "new");
    WriteFile(out + "g.txt", "the old g.txt");
    InstallInterruptHandlers();
    host.stopFlag = &ProcessInterrupt();
    CopyLimits limits;
    // A second Ctrl+C would end the program at once anywhere else.
    limits.afterEachMove = [] {
        std::raise(SIGINT);
        std::raise(SIGINT);
    };
    EXPECT_EQ(RunRecorded(ListInputs({folder / "g.dat"}, out), host, limits), TaskOutcome::Stopped);
    std::signal(SIGINT, SIG_DFL);
    EXPECT_EQ(host.OnlyNotice(), texts::kInterrupted);
    EXPECT_EQ(ReadFile(out + "g.txt"), "the old g.txt");
    EXPECT_EQ(NamesIn(out), std::vector<std::string>{"g.txt"});
}

TEST_F(PosixFiles, AReplacedFileKeepsItsPermissions) {
    SplitF();
    WriteFile(out + "f.bin", "private");
    ASSERT_EQ(::chmod((out + "f.bin").c_str(), 0600), 0);
    ASSERT_EQ(RunRecorded(MergeInputs(pieces + "f.hpe", out), host), TaskOutcome::Done) << host.Notices();
    struct stat info {};
    ASSERT_EQ(::stat((out + "f.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(PosixFiles, TemporaryFileOfARunningProcessIsKept) {
    SplitF();
    const std::string busy = "f.bin.quilvane-" + std::to_string(::getppid()) + ".tmp";
    WriteFile(out + busy, "someone is writing this");
    EXPECT_EQ(RunRecorded(MergeInputs(pieces + "f.hpe", out), host), TaskOutcome::Done) << host.Notices();
    EXPECT_EQ(ReadFile(out + busy), "someone is writing this");
}

TEST_F(PosixFiles, BatchFileThatCannotHoldTheTargetStopsTheSplitFirst) {
    // A folder name that is no text: no code page can write it into a batch file.
    const std::string odd = folder.Subfolder("odd\xff");
    WriteFile(folder / "a.bin", PatternBytes(2 * K));
    host.batchFileWanted = true;
    EXPECT_EQ(RunRecorded(SplitInputs(folder / "a.bin", odd, "1"), host), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::PathNotRepresentable(odd + "a.bin"));
    EXPECT_TRUE(NamesIn(odd).empty());
    host.batchFileWanted = false;
    EXPECT_EQ(RunRecorded(SplitInputs(folder / "a.bin", odd, "1"), host), TaskOutcome::Done) << host.Notices();
}

}  // namespace
}  // namespace quilvane
