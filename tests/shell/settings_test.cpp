#include "settings.h"

#include <gtest/gtest.h>

#include "command_line.h"
#include "dialogs.h"
#include "test_support.h"

namespace quilvane::shell {
namespace {

using namespace quilvane::testing;

TEST(Settings, MissingValuesReadEmptyWithoutCreatingTheFile) {
    TempFolder app;
    Settings settings(app.Path());
    EXPECT_EQ(settings.Read("main", "SetBat"), "");
    EXPECT_FALSE(Exists(app / "Sysset.ini"));
}

TEST(Settings, LongValuesAreCutAt254) {
    TempFolder app;
    WriteFile(app / "Sysset.ini", "[mains]\r\nta=" + std::string(300, 'x') + "\r\n");
    EXPECT_EQ(Settings(app.Path()).Read("mains", "ta"), std::string(254, 'x'));
}

TEST(Settings, WritesCreateAndReplaceSingleKeys) {
    TempFolder app;
    Settings settings(app.Path());
    settings.Write("main", "SetBat", "1");
    settings.Write("main", "SetBat", "0");
    EXPECT_EQ(settings.Read("MAIN", "setbat"), "0");
}

TEST(Selection, SeveralFilesAreJoinedToTheirFolder) {
    const std::wstring many(L"D:\\x\0a.txt\0b.txt\0c.txt", 22);
    EXPECT_EQ(JoinSelection(many), std::string("D:\\x\\a.txt\0D:\\x\\b.txt\0D:\\x\\c.txt", 32));
    EXPECT_EQ(JoinSelection(L"D:\\x\\only.txt"), "D:\\x\\only.txt");
    // A drive root keeps a single backslash.
    EXPECT_EQ(JoinSelection(std::wstring(L"C:\\\0a.txt\0b.txt", 15)), std::string("C:\\a.txt\0C:\\b.txt", 17));
}

TEST(CommandLine, EveryQuoteGoesAndNothingElseIsParsed) {
    EXPECT_EQ(CommandLinePath(L"\"C:\\Program Files\\q.exe\" \"D:\\my files\\big.iso\""), "D:\\my files\\big.iso");
    EXPECT_EQ(CommandLinePath(L"q.exe \"D:\\a b.txt\" \"E:\\c.txt\""), "D:\\a b.txt E:\\c.txt");
    EXPECT_EQ(CommandLinePath(L"q.exe"), "");
    EXPECT_EQ(CommandLinePath(L"\"C:\\q.exe\"   "), "");
    EXPECT_EQ(CommandLinePath(L"q.exe D:\\文件.bin"), "D:\\文件.bin");
}

}  // namespace
}  // namespace quilvane::shell
