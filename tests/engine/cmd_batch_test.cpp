// The batch files, run by the system's own cmd as a user would run them: hundreds of pieces
// and entries, blanks, "%" and Chinese in their paths. Windows only.

#include <windows.h>

#include <gtest/gtest.h>

#include "task.h"
#include "test_support.h"
#include "utf16.h"

namespace quilvane {
namespace {

using namespace testing;

constexpr std::size_t K = 1024;

// Runs `batch` (a bare name) with cmd in `folder`; gives cmd's exit code, -1 when it did not end.
int RunBatch(const std::string& folder, const std::string& batch) {
    std::wstring command = L"cmd.exe /d /c " + Widen(batch);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        Widen(folder).c_str(), &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

struct CmdBatch : ::testing::Test {
    TempFolder folder;
    RecordingHost host;
};

TEST_F(CmdBatch, SplitBatchOfAThousandPiecesRebuildsTheFile) {
    const std::string bytes = PatternBytes(1000 * K + 77);
    WriteFile(folder / "影片 50% off.avi", bytes);
    const std::string pieces = folder.Subfolder("分 段 100%");
    host.batchFileWanted = true;
    ASSERT_EQ(RunRecorded(SplitInputs(folder / "影片 50% off.avi", pieces, "1"), host), TaskOutcome::Done)
        << host.Notices();
    ASSERT_GT(ReadFile(pieces + "影片 50% off.bat").size(), 8192u) << "more than one line of cmd";

    const std::string rebuilt = pieces + "影片 50% off.avi";
    EXPECT_EQ(RunBatch(pieces, "\"影片 50% off.bat\""), 0);
    EXPECT_TRUE(SameBytes(ReadFile(rebuilt), bytes));
    EXPECT_TRUE(SameBytes(ReadFile(pieces + "001.pe"), bytes.substr(0, K))) << "no piece is a destination";
    EXPECT_TRUE(SameBytes(ReadFile(pieces + "1001.pe"), bytes.substr(1000 * K)));
}

TEST_F(CmdBatch, ListBatchOfHundredsOfEntriesJoinsThemAgain) {
    const std::string in = folder.Subfolder("in 50% put");
    const std::string out = folder.Subfolder("out put");
    std::vector<std::string> entries;
    std::string joined;
    for (int i = 0; i < 300; ++i) {
        entries.push_back(in + "part " + std::to_string(i) + ".dat");
        const std::string content = "entry " + std::to_string(i) + "\r\n";
        WriteFile(entries.back(), content);
        joined += content;
    }
    ASSERT_EQ(RunRecorded(ListInputs(entries, out), host), TaskOutcome::Done) << host.Notices();
    ASSERT_GT(ReadFile(out + "part 0.bat").size(), 8192u);

    WriteFile(out + "part 0.txt", "");
    EXPECT_EQ(RunBatch(out, "\"part 0.bat\""), 0);
    EXPECT_TRUE(SameBytes(ReadFile(out + "part 0.txt"), joined));
    for (int i = 0; i < 300; ++i) ASSERT_EQ(ReadFile(entries[i]), "entry " + std::to_string(i) + "\r\n") << i;
}

}  // namespace
}  // namespace quilvane
