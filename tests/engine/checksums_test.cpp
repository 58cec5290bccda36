// Checksums: the system's SHA-256 against the standard's own examples, the list a split writes,
// and a merge that refuses pieces that are not what the list says, naming them.

#include <filesystem>

#include <gtest/gtest.h>

#include "checksum_list.h"
#include "piece_hasher.h"
#include "platform_file.h"
#include "sha256.h"
#include "task.h"
#include "test_support.h"
#include "texts.h"

namespace quilvane {
namespace {

using namespace testing;

constexpr std::size_t K = 1024;

std::string Digest(const std::string& bytes) {
    Result<Sha256> hash = Sha256::Start();
    EXPECT_TRUE(hash) << hash.message();
    hash->Update(bytes.data(), bytes.size());
    return *hash->HexDigest();
}

TEST(Sha256, GivesTheStandardsExampleDigests) {
    EXPECT_EQ(Digest(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Digest("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Digest("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(Digest(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    // Fed in pieces, and used again after a digest.
    Result<Sha256> hash = Sha256::Start();
    ASSERT_TRUE(hash);
    for (const char* part : {"a", "b", "c"}) hash->Update(part, 1);
    EXPECT_EQ(*hash->HexDigest(), Digest("abc"));
    hash->Update("abc", 3);
    EXPECT_EQ(*hash->HexDigest(), Digest("abc"));
}

TEST(Sha256, HashesAPieceLargerThanFourGibibytesWhole) {
    // A 32-bit size_t cut such lengths to their last bytes.
    TempFolder folder;
    WriteFile(folder / "big.bin", "");
    std::filesystem::resize_file(folder / "big.bin", (4ull << 30) + 10);
    const StopFlag neverStopped;
    PieceHasher hasher(1, neverStopped);
    hasher.Add(0, folder / "big.bin", 0, (4ull << 30) + 10);
    Result<std::vector<std::string>> digests = hasher.Digests();
    ASSERT_TRUE(digests) << digests.message();
    EXPECT_EQ((*digests)[0], "be644b7813df6c1917e9747f76d52757622b57ecbee1f3029fd09497e38f794f");
}

struct Checksums : ::testing::Test {
    TempFolder folder;
    std::string pieces = folder.Subfolder("pieces");
    std::string out = folder.Subfolder("out");
    RecordingHost host;
    std::string bytes = PatternBytes(4 * K + 100);

    void Split() { MakePieces(folder / "s.bin", bytes, pieces); }
    TaskOutcome Merge(bool verify = true) {
        host.notices.clear();
        TaskInputs inputs = MergeInputs(pieces + "s.hpe", out);
        inputs.verifyPieces = verify;
        return RunRecorded(inputs, host);
    }
    // A refused merge names its cause and leaves the target folder as it was.
    void ExpectRefused(const std::string& notice) {
        WriteFile(out + "s.bin", "the old s.bin");
        EXPECT_EQ(Merge(), TaskOutcome::Failed);
        EXPECT_EQ(host.OnlyNotice(), notice);
        EXPECT_EQ(NamesIn(out), std::vector<std::string>{"s.bin"});
        EXPECT_EQ(ReadFile(out + "s.bin"), "the old s.bin");
    }
};

TEST_F(Checksums, TheListIsTheSameOnEveryPlatformAndNamesEveryPiece) {
    MakePieces(folder / "s.bin", PatternBytes(2500), pieces);
    EXPECT_EQ(ReadFile(pieces + "s.sha256"),
              "869ef9aa68f833d0240bee3458355b425a380733574c8b42f371eacfc7d9a74f  001.pe\r\n"
              "32274a848500142dcc2b98089ffbd6873b153e2850e1e4f9a63913d75281c60b  002.pe\r\n"
              "764dab396c4247bccf031960c167b40d43b6817b105ba45433fcad0a231b6f0f  003.pe\r\n");
}

TEST_F(Checksums, ADamagedOrReorderedPieceStopsTheMergeByName) {
    Split();
    std::string middle = ReadFile(pieces + "002.pe");
    middle[500] ^= 1;
    WriteFile(pieces + "002.pe", middle);
    ExpectRefused(texts::PieceDamaged(pieces + "002.pe"));

    Split();
    const std::string first = ReadFile(pieces + "001.pe"), second = ReadFile(pieces + "002.pe");
    WriteFile(pieces + "001.pe", second);
    WriteFile(pieces + "002.pe", first);
    ExpectRefused(texts::PieceDamaged(pieces + "001.pe"));

    // Without checking, the user gets what the pieces hold.
    EXPECT_EQ(Merge(false), TaskOutcome::Done) << host.Notices();
}

TEST_F(Checksums, AListThatCannotBeUsedIsNamedAndRemovingItMergesUnchecked) {
    Split();
    const std::string list = pieces + "s.sha256";
    const std::string good = ReadFile(list);
    WriteFile(list, good.substr(0, good.size() - 10));
    ExpectRefused(texts::ChecksumListUnreadable(list, texts::kListNotAList));

    // Five pieces listed where the descriptor has four.
    WriteFile(list, good + good.substr(0, 74).replace(66, 6, "005.pe"));
    ExpectRefused(texts::ChecksumListUnreadable(list, texts::kListNamesOtherPieces));

    WriteFile(list, PatternBytes(10 * K * K));
    WriteFile(out + "s.bin", "the old s.bin");
    EXPECT_EQ(Merge(), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice().rfind("校验文件“" + list + "”无法使用", 0), 0u) << host.OnlyNotice();

    ASSERT_TRUE(RemoveFile(list));
    EXPECT_EQ(Merge(), TaskOutcome::Done) << host.Notices();
    EXPECT_TRUE(SameBytes(ReadFile(out + "s.bin"), bytes));
}

TEST_F(Checksums, ASplitDoesNotOverwritePiecesAnotherListNames) {
    Split();
    ASSERT_TRUE(RemoveFile(pieces + "s.hpe"));  // the list alone still tells whose pieces they are
    WriteFile(folder / "t.bin", PatternBytes(3 * K, 2));
    EXPECT_EQ(RunRecorded(SplitInputs(folder / "t.bin", pieces, "1"), host), TaskOutcome::Failed);
    EXPECT_EQ(host.OnlyNotice(), texts::PiecesOfAnotherFile(pieces + "s.sha256"));
}

}  // namespace
}  // namespace quilvane
