#include "scramble.h"

#include "descriptor_key.h"

#include <set>

#include <gtest/gtest.h>

namespace quilvane {
namespace {

std::string ReadBack(const std::string& scrambled) {
    return UnscrambleText(UnweaveText(scrambled, false), kDescriptorKey);
}

TEST(Scramble, DescriptorFieldsReadBackUnchanged) {
    for (const std::string plain : {"100k:3:250000", "0100k:1:102400", "7", "2048m:7:5000000000"}) {
        EXPECT_EQ(ReadBack(ScrambleText(plain, kDescriptorKey)), plain);
        EXPECT_EQ(ReadBack(ScrambleText(plain, kDescriptorKey) + "\r\n"), plain) << "with the line end";
    }
}

TEST(Scramble, ProgramKeyIsTheDescriptorKey) {
    // Windows executables load it from their string table.
    EXPECT_EQ(DescriptorKey(), kDescriptorKey);
}

TEST(Scramble, KnownFieldScramblesToKnownBytes) {
    // Bytes of a descriptor written by the program before; a change here breaks old descriptors.
    EXPECT_EQ(ScrambleText("100k:3:250000", kDescriptorKey),
              std::string("\x51\x44\x56\x4b\x59\x4f\x47\x4a\x10\x47\x58\x40\x54"));
    EXPECT_EQ(ScrambleText("A", kDescriptorKey), "\x37");
}

TEST(Scramble, InterleavesLastParityDescendingThenOthersAscending) {
    // With a key of zero bytes the XOR keeps the shifted bytes, which can be followed by hand:
    // shifts are +5, -5, -5, -5, -10.
    const std::string zeroKey(1, '\0');
    const std::string fiveBytes{'E' - 10, 'C' - 5, 'A' + 5, 'B' - 5, 'D' - 5};
    const std::string fourBytes{'D' - 5, 'B' - 5, 'A' + 5, 'C' - 5};
    EXPECT_EQ(ScrambleText("ABCDE", zeroKey), fiveBytes);
    EXPECT_EQ(ScrambleText("ABCD", zeroKey), fourBytes);
    EXPECT_EQ(UnweaveText("42013", true), "01234");
    EXPECT_EQ(UnweaveText("3102", true), "0123");
}

TEST(Scramble, KeyRepeatsFromItsFirstByte) {
    // Position 2 uses the key's first byte again: 'c' + (-5) = '^', XOR 1 = '_'.
    const std::string key("\x01\x02", 2);
    const std::string plain = UnweaveText(ScrambleText("aac", key), true);
    EXPECT_EQ(plain[2], static_cast<char>(('c' - 5) ^ 1));
    EXPECT_EQ(UnscrambleText(plain, key), "aac");
}

TEST(Scramble, UnweaveDropsEveryCrLfPairOnlyWhenAsked) {
    EXPECT_EQ(UnweaveText("ab\r\ncd\r\n", false), UnweaveText("abcd", true));
    EXPECT_EQ(UnweaveText("a\rb\nc", false).size(), 5u) << "lone CR and LF stay";
    EXPECT_EQ(UnweaveText("ab\r\n", true).size(), 4u);
}

TEST(Scramble, NoDescriptorFieldCanHoldACrLfPair) {
    // A CR LF inside the scrambled field would be lost on reading. Only position 4 can become
    // LF and only position 5 CR, and the interleaving never puts 5 directly before 4.
    const std::string alphabet = "0123456789km:";
    std::set<std::size_t> crPositions, lfPositions;
    for (std::size_t length = 1; length <= 48; ++length) {
        for (char c : alphabet) {
            const std::string plain(length, c);
            const std::string plainOrder = UnweaveText(ScrambleText(plain, kDescriptorKey), true);
            for (std::size_t i = 0; i < length; ++i) {
                if (plainOrder[i] == '\r') crPositions.insert(i);
                if (plainOrder[i] == '\n') lfPositions.insert(i);
            }
        }
    }
    EXPECT_EQ(crPositions, std::set<std::size_t>({5}));
    EXPECT_EQ(lfPositions, std::set<std::size_t>({4}));
    for (std::size_t length = 6; length <= 48; ++length) {
        // Unweaving slot labels tells which stored slot holds each position.
        std::string slots(length, '\0');
        for (std::size_t t = 0; t < length; ++t) slots[t] = static_cast<char>(t);
        const std::string slotOf = UnweaveText(slots, true);
        EXPECT_NE(slotOf[4], slotOf[5] + 1) << "length " << length;
    }
}

}  // namespace
}  // namespace quilvane
