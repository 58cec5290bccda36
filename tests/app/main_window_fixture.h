#pragma once
// The main window under test: created with stand-in dialogs in a fresh program folder, driven
// through window messages, with the task's end handled by the test itself.

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "main_window.h"
#include "message_loop.h"
#include "test_support.h"
#include "utf16.h"

namespace quilvane::app {

// Stands in for the modal dialogs: answers are scripted, notices recorded.
class ScriptedDialogs : public shell::Dialogs {
public:
    std::string nextFile, nextFolder;
    std::vector<std::string> notices;
    std::vector<std::string> opened;
    std::function<void()> duringNotice;  // runs while a notice or a question is open
    std::vector<std::string> questions;
    int answer = IDNO;

    std::string PickFile(const std::string& filter, const std::string& title, bool allowMany) override {
        lastFilter = filter;
        lastTitle = title;
        lastAllowMany = allowMany;
        return nextFile;
    }
    std::string PickFolder(const std::string& title, HWND) override {
        lastTitle = title;
        return nextFolder;
    }
    void OpenWithShell(const std::string& file, const std::string& parameters, int show) override {
        opened.push_back(file + "|" + parameters + "|" + std::to_string(show));
    }
    int ShowNotice(const std::string& text, int style) override {
        const bool question = (style & MB_YESNO) == MB_YESNO;
        if (question) {
            questions.push_back(text);
        } else {
            EXPECT_EQ(style, 64);
            notices.push_back(text);
        }
        if (duringNotice) duringNotice();
        return question ? answer : IDOK;
    }
    std::string lastFilter, lastTitle;
    bool lastAllowMany = false;
};

struct MainWindow : ::testing::Test {
    quilvane::testing::TempFolder app;
    quilvane::testing::TempFolder work;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainF> window;

    void Open(const std::string& settings = "") {
        if (!settings.empty()) quilvane::testing::WriteFile(app / "Sysset.ini", settings);
        window = std::make_unique<MainF>(dialogs, app.Path());
        ASSERT_TRUE(window->Create());
    }
    HWND Control(ControlId id) { return window->Control(id); }
    std::string Text(ControlId id) {
        wchar_t text[1024] = {};
        GetWindowTextW(Control(id), text, 1024);
        return Narrow(text);
    }
    void SetText(ControlId id, const std::string& text) { SetWindowTextW(Control(id), Widen(text).c_str()); }
    // A 2 KiB source in the work folder, to be cut into 1 KB pieces there.
    void PrepareTwoPieceSplit() {
        quilvane::testing::WriteFile(work / "a.bin", quilvane::testing::PatternBytes(2048));
        window->GetDates(work / "a.bin");
        SetText(kText1, work.Path());
        SetText(kText2, "1");
    }
    void Click(ControlId id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    // Lets the window's messages run until `condition` holds (true) or the task has ended and
    // been told (false); the end is handled here, so what its handler lets out reaches the test.
    bool RunMessagesUntil(const std::function<bool()>& condition) {
        const HWND handle = window->hwnd();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            if (condition()) return true;
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == MainF::kTaskEndedMessage && message.hwnd == handle) {
                    window->TaskEnded();
                    return false;
                }
                ui::DispatchWithNavigation(message);
            }
            Sleep(1);
        }
        return false;
    }
    void WaitForTaskEnd() {
        RunMessagesUntil([] { return false; });
        if (window->TaskRunning()) FAIL() << "the task did not end";
    }
    void RunTask() {
        Click(kCommand2);
        WaitForTaskEnd();
    }
    // A source far too large to copy before a stop: 8 GiB that take no room on disk, in
    // pieces of 100 MB.
    void PrepareHugeSplit() {
        quilvane::testing::MakeSparseFile(work / "huge.bin", 8ull << 30);
        window->GetDates(work / "huge.bin");
        SetText(kText1, work.Path());
        Click(kOption3);
    }
    // Opens the window and presses 开始 on the huge split; the handle stays comparable after a close.
    HWND OpenWithHugeSplitRunning() {
        Open();
        PrepareHugeSplit();
        Click(kCommand2);
        return window->hwnd();
    }
    bool Checked(ControlId id) { return SendMessageW(Control(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void ClickBox(ControlId id) {
        SendMessageW(Control(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageW(Control(id), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
    // Position in the window's stacking order, 0 on top.
    int StackPosition(ControlId id) {
        int position = 0;
        for (HWND child = GetWindow(GetTopWindow(window->hwnd()), GW_HWNDFIRST); child;
             child = GetWindow(child, GW_HWNDNEXT), ++position)
            if (child == Control(id)) return position;
        return -1;
    }
    int OuterHeight() {
        RECT outer{};
        GetWindowRect(window->hwnd(), &outer);
        return outer.bottom - outer.top;
    }
    std::string Setting(const std::string& key) {
        wchar_t value[255] = {};
        GetPrivateProfileStringW(L"main", Widen(key).c_str(), L"", value, 255, Widen(app / "Sysset.ini").c_str());
        return Narrow(value);
    }
};

}  // namespace quilvane::app
