// The main window's contact label opens the About window modally, a new one each time.

#include <windows.h>

#include <functional>

#include <gtest/gtest.h>

#include "main_window.h"
#include "test_support.h"

namespace quilvane::about {
namespace {

// Runs an action from inside whatever message loop is running when its message arrives.
class Probe : public ui::Window {
public:
    bool Create() {
        CreateArgs args;
        args.className = L"QuilvaneTestProbe";
        args.style = 0;
        args.parent = HWND_MESSAGE;
        return Window::Create(args);
    }
    void Later(std::function<void()> action) {
        action_ = std::move(action);
        PostMessageW(hwnd(), WM_APP, 0, 0);
    }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_APP) return Default(message, wParam, lParam);
        if (action_) action_();
        return 0;
    }

private:
    std::function<void()> action_;
};

class NoDialogs : public shell::Dialogs {
public:
    std::string PickFile(const std::string&, const std::string&, bool) override { return ""; }
    std::string PickFolder(const std::string&, HWND) override { return ""; }
    void OpenWithShell(const std::string&, const std::string&, int) override {}
    int ShowNotice(const std::string&, int) override { return IDOK; }
};

TEST(ContactLabel, OpensTheAboutWindowModallyEachTime) {
    testing::TempFolder app;
    NoDialogs dialogs;
    app::MainF main(dialogs, app.Path());
    ASSERT_TRUE(main.Create());
    Probe probe;
    ASSERT_TRUE(probe.Create());
    const RECT label = app::kContactLabelPlace.ToPixels(ui::ScreenDpi());
    auto clickContactLabel = [&] {
        const LPARAM at = MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2);
        SendMessageW(main.Control(app::kPicture1), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(main.Control(app::kPicture1), WM_LBUTTONUP, 0, at);
    };

    HWND first = nullptr;
    for (int opening = 0; opening < 2; ++opening) {
        HWND about = nullptr;
        bool ownerDisabled = false, visible = false;
        wchar_t title[64] = {};
        probe.Later([&] {
            about = FindWindowW(L"QuilvaneFrmUseset", nullptr);
            if (!about) return;
            GetWindowTextW(about, title, 64);
            visible = IsWindowVisible(about);
            ownerDisabled = !IsWindowEnabled(main.hwnd());
            EXPECT_EQ(GetWindow(about, GW_OWNER), main.hwnd());
            PostMessageW(about, WM_CLOSE, 0, 0);
        });
        clickContactLabel();  // returns once the About window has closed
        ASSERT_NE(about, nullptr) << "no About window while the label's click ran";
        EXPECT_STREQ(title, L"关于 Quilvane文件分割器V1.13");
        EXPECT_TRUE(visible);
        EXPECT_TRUE(ownerDisabled) << "shown modally over the main window";
        EXPECT_FALSE(IsWindow(about));
        EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
        if (opening == 0)
            first = about;
        else
            EXPECT_NE(about, first) << "a new window for each opening";
    }
}

}  // namespace
}  // namespace quilvane::about
