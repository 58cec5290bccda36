// The About window as a person meets it: opened from the main window's contact label, the
// water stirred by the real pointer and calming down again, closed with its button or Alt+S.
// What is checked is what the screen shows.

#include <windows.h>

#include <vector>

#include <gtest/gtest.h>

#include "about_window_layout.h"
#include "main_window_layout.h"
#include "test_support.h"
#include "tour.h"

namespace quilvane::tours {
namespace {

using namespace quilvane::testing;
using about::AboutDesignOf;

constexpr wchar_t kMainTitle[] = L"Quilvane文件分割器V1.13";
constexpr wchar_t kAboutTitle[] = L"关于 Quilvane文件分割器V1.13";

// The pixels of a window's client area as the screen shows them, top row first.
std::vector<std::uint32_t> Shown(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int width = client.right, height = client.bottom;
    BITMAPINFO description{};
    description.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    description.bmiHeader.biWidth = width;
    description.bmiHeader.biHeight = -height;
    description.bmiHeader.biPlanes = 1;
    description.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC copy = CreateCompatibleDC(screen);
    HBITMAP picture = CreateDIBSection(screen, &description, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(copy, picture);
    BitBlt(copy, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> shown(pixels, pixels + static_cast<std::size_t>(width) * height);
    SelectObject(copy, previous);
    DeleteObject(picture);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    return shown;
}

struct AboutWindowTour : ::testing::Test {
    TempFolder app;
    std::unique_ptr<Program> program;
    HWND main = nullptr;

    void SetUp() override {
        program = std::make_unique<Program>(ProgramPath(), app.Path());
        main = program->WaitForWindow(kMainTitle);
        ASSERT_NE(main, nullptr) << "the main window did not appear";
        BringToFront(main);
        Click(ScreenPointOf(main, PlaceOf(app::kTQueries)));  // the contact strip lies in the expanded part
        ASSERT_TRUE(
            WaitUntil([&] { return OuterSize(main).cy == ui::TwipsToPixels(app::kExpandedHeight, ui::ScreenDpi()); }));
    }
    static ui::TwipsRect PlaceOf(app::ControlId id) { return PlaceInWindow(app::kMainWindowDesign, id); }
    HWND OpenAbout() {
        ui::TwipsRect label = PlaceOf(app::kPicture1);
        label.top += app::kContactLabelPlace.top;
        label.height = app::kContactLabelPlace.height;
        Click(ScreenPointOf(main, label));
        const HWND about = program->WaitForWindow(kAboutTitle);
        EXPECT_NE(about, nullptr) << "the About window did not appear";
        return about;
    }
    // A point of the picture given in its pixels at 96 dots per inch.
    static POINT OnPicture(HWND about, int x, int y) {
        return ScreenPointOf(about, ui::TwipsRect{x * 15, y * 15, 15, 15});
    }
};

TEST_F(AboutWindowTour, ThePointerStirsTheWaterAndItCalmsDownAgain) {
    const HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    std::vector<std::uint32_t> still;
    ASSERT_TRUE(WaitUntil([&] {  // the first frame is on the screen once two looks agree
        std::vector<std::uint32_t> now = Shown(about);
        const bool same = now == still;
        still = std::move(now);
        return same;
    }));
    for (int step = 0; step < 12; ++step) MoveTo(OnPicture(about, 40 + step * 14, 40 + step * 3));
    EXPECT_TRUE(WaitUntil([&] { return Shown(about) != still; })) << "no rings on the water";
    MoveTo(POINT{0, GetSystemMetrics(SM_CYSCREEN) - 1});  // away from the window
    EXPECT_TRUE(WaitUntil([&] { return Shown(about) == still; })) << "the water never came to rest";
}

TEST_F(AboutWindowTour, ClosesWithItsButtonOrAltSAndGivesTheMainWindowBack) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(IsWindowEnabled(main)) << "the About window is modal";
    Click(ScreenPointOf(about, AboutDesignOf(about::kBt1).place));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));

    about = OpenAbout();
    ASSERT_NE(about, nullptr);
    BringToFront(about);
    PressKey('S', {VK_MENU});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    EXPECT_TRUE(program->Running()) << "closing the About window leaves the program running";
}

}  // namespace
}  // namespace quilvane::tours
