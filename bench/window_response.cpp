// Measures, on the real program under Wine, how the main window answers while a split of
// 2,000,000 pieces is planned: the longest time it took to answer a message, and the time from
// 停止 to the idle window. Prints milliseconds; both should stay under 200.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "main_window_layout.h"
#include "test_support.h"
#include "tour.h"
#include "utf16.h"

using namespace quilvane;
using Clock = std::chrono::steady_clock;

namespace {

double Milliseconds(Clock::duration elapsed) { return std::chrono::duration<double, std::milli>(elapsed).count(); }

// How long the window takes to answer one message.
double AnswerTime(HWND window) {
    const auto start = Clock::now();
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10'000, &result);
    return Milliseconds(Clock::now() - start);
}

}  // namespace

int main() {
    quilvane::testing::TempFolder app, work;
    const std::string source = work / "plan.bin";
    quilvane::testing::MakeSparseFile(source, 2'000'000ull * 1024);  // 2,000,000 pieces of 1 KB
    quilvane::testing::WriteFile(app / "Sysset.ini", "[main]\r\nSetGet=1\r\n");
    tours::Program program(tours::ProgramPath(), app.Path(), L"\"" + Widen(source) + L"\"");
    const HWND window = program.WaitForWindow(L"Quilvane文件分割器V1.13");
    if (!window) return std::fprintf(stderr, "the main window did not appear\n"), 1;
    const HWND frame = GetDlgItem(window, app::kFrame2);
    const HWND start = GetDlgItem(window, app::kCommand2);
    SetWindowTextW(GetDlgItem(frame, app::kText2), L"1");

    PostMessageW(start, BM_CLICK, 0, 0);
    double longest = 0;
    const auto planning = Clock::now();
    while (Clock::now() - planning < std::chrono::seconds(5)) {
        longest = std::max(longest, AnswerTime(window));
        Sleep(10);
    }
    const std::wstring caption = tours::TextOf(start);
    PostMessageW(start, BM_CLICK, 0, 0);
    const auto stop = Clock::now();
    // Looked at every millisecond, not at the tours' pace, so the wait adds little to what it measures.
    while (tours::TextOf(start) != L"开始" && Clock::now() - stop < std::chrono::seconds(10)) Sleep(1);
    const double stopToIdle = Milliseconds(Clock::now() - stop);
    if (const HWND notice = tours::WaitForNotice(program)) tours::CloseNotice(notice);

    std::printf("button during the task: %s\n", Narrow(caption).c_str());
    std::printf("longest answer while 2,000,000 pieces were planned: %.0f ms\n", longest);
    std::printf("from 停止 to the idle window: %.0f ms\n", stopToIdle);
    return 0;
}
