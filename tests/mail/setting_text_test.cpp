// Stored e-mail fields: what the settings file's single lines would lose comes back whole,
// and what earlier versions stored reads as it did.

#include <gtest/gtest.h>

#include "password_vault.h"
#include "setting_text.h"

namespace quilvane::mail {
namespace {

// What GetPrivateProfileString gives back of a stored line: blanks and one pair of
// surrounding quotes dropped.
std::string AsTheProfileReadsIt(std::string stored) {
    const std::size_t first = stored.find_first_not_of(" \t"), last = stored.find_last_not_of(" \t");
    stored = first == std::string::npos ? "" : stored.substr(first, last - first + 1);
    if (stored.size() >= 2 && stored.front() == stored.back() && (stored.front() == '"' || stored.front() == '\''))
        stored = stored.substr(1, stored.size() - 2);
    return stored;
}

TEST(SettingText, WhatALineWouldLoseComesBackWhole) {
    for (const std::string text :
         {"第一行\r\n第二行\r\n", "\n", "  leading and trailing \t ", "\"quoted\"", "'single'",
          "{lines}not escaped before", "back\\slash\r\nand \\n literally", "end blank \r\n "}) {
        const std::string stored = EncodeSettingValue(text);
        EXPECT_EQ(stored.find_first_of("\r\n"), std::string::npos) << "one line only";
        EXPECT_EQ(DecodeSettingValue(AsTheProfileReadsIt(stored)), text) << stored;
    }
}

TEST(SettingText, EverydayAndOldValuesStayAsTheyAre) {
    for (const std::string text : {"", "smtp.example.test", "C:\\new\\table.pe", "a \\n b", "只有一行"}) {
        EXPECT_EQ(EncodeSettingValue(text), text);
        EXPECT_EQ(DecodeSettingValue(text), text);
    }
    EXPECT_EQ(DecodeSettingValue("{lines}a\\qb\\"), "a\\qb\\") << "unknown escapes are kept as written";
}

// A code page of ASCII and the CJK block only, as strict as code page 936 is with emoji.
bool AsciiAndCjkOnly(char32_t c) { return c >= 0x4E00 && c <= 0x9FFF; }

TEST(SettingText, CharactersTheCodePageLacksAreEscapedAndComeBack) {
    const std::string text = "主题 😀 © end";
    const std::string stored = EncodeSettingValue(text, AsciiAndCjkOnly);
    EXPECT_EQ(stored, "{lines}主题 \\u{1F600} \\u{A9} end");
    EXPECT_EQ(DecodeSettingValue(stored), text);
    EXPECT_EQ(EncodeSettingValue("只有一行", AsciiAndCjkOnly), "只有一行") << "what the code page holds stays plain";
    // A backslash and a brace typed by the user are no escape.
    for (const std::string typed : {"\\u{41}", "a\\u{110000}😀", "\\u{", "\\u{}\r\n"})
        EXPECT_EQ(DecodeSettingValue(AsTheProfileReadsIt(EncodeSettingValue(typed, AsciiAndCjkOnly))), typed);
    EXPECT_EQ(DecodeSettingValue("{lines}\\u{D800}\\u{zz}"), "\\u{D800}\\u{zz}") << "no character: kept as written";
}

class ReversingVault final : public PasswordVault {
public:
    std::optional<std::string> Seal(const std::string& secret) override {
        return std::string(secret.rbegin(), secret.rend());
    }
    std::optional<std::string> Open(const std::string& sealed) override {
        if (sealed == "refuse") return std::nullopt;
        return std::string(sealed.rbegin(), sealed.rend());
    }
};

TEST(PasswordSetting, SealedPlainAndUnreadableForms) {
    ReversingVault vault;
    const std::optional<std::string> stored = ProtectedSetting(vault, "pass word");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->rfind("{protected}", 0), 0u);
    EXPECT_EQ(stored->find("pass"), std::string::npos);
    EXPECT_EQ(PasswordFromSetting(vault, *stored), "pass word");
    EXPECT_EQ(ProtectedSetting(vault, ""), "") << "no password, nothing sealed";
    EXPECT_EQ(PasswordFromSetting(vault, "plain old"), "plain old");
    EXPECT_EQ(PasswordFromSetting(vault, "{protected}not base64!"), "");
    EXPECT_EQ(PasswordFromSetting(vault, "{protected}cmVmdXNl"), "") << "sealed for someone else";
}

}  // namespace
}  // namespace quilvane::mail
