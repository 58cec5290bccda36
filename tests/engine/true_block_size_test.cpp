// One split and merge with the real block size, on a sparse source so the test stays cheap
// in disk space: pieces of 400 MiB take two blocks each.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "formats.h"
#include "platform_file.h"
#include "task.h"
#include "test_support.h"

namespace quilvane {
namespace {

using namespace testing;

constexpr std::uint64_t MiB = 1024 * 1024;

void PutAt(const std::string& path, std::uint64_t offset, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset)), static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

std::string ReadAt(const std::string& path, std::uint64_t offset, std::size_t size) {
    std::string bytes(size, '\0');
    const int fd = ::open(path.c_str(), O_RDONLY);
    EXPECT_EQ(::pread(fd, bytes.data(), size, static_cast<off_t>(offset)), static_cast<ssize_t>(size));
    ::close(fd);
    return bytes;
}

TEST(TrueBlockSize, FourHundredMegabytePiecesSplitAndMergeBack) {
    TempFolder folder;
    const std::string source = folder / "sparse.img";
    const std::uint64_t length = 400 * MiB + 3 * MiB + 17;
    // Marks around each block and piece boundary; everything else is a hole of zeros.
    const std::vector<std::uint64_t> marks = {0, kCopyBlockSize - 8, 400 * MiB - 8, 400 * MiB + 1 * MiB, length - 8};
    for (std::size_t i = 0; i < marks.size(); ++i)
        PutAt(source, marks[i], PatternBytes(8, static_cast<unsigned>(i + 1)));

    RecordingHost host;
    const std::string pieces = folder.Subfolder("pieces");
    ASSERT_EQ(RunRecorded(SplitInputs(source, pieces, "400", SizeUnit::Megabytes), host), TaskOutcome::Done);
    EXPECT_EQ(ReadMergeDescriptor(pieces + "sparse.hpe")->blockCount, 3u) << "two blocks, then one";
    EXPECT_EQ(host.progress.size(), 3u);

    const std::string out = folder.Subfolder("out");
    ASSERT_EQ(RunRecorded(MergeInputs(pieces + "sparse.hpe", out), host), TaskOutcome::Done);
    for (std::size_t i = 0; i < marks.size(); ++i)
        EXPECT_EQ(ReadAt(out + "sparse.img", marks[i], 8), PatternBytes(8, static_cast<unsigned>(i + 1))) << i;
    Result<std::uint64_t> merged = FileLength(out + "sparse.img");
    ASSERT_TRUE(merged);
    EXPECT_EQ(*merged, length);
}

}  // namespace
}  // namespace quilvane
