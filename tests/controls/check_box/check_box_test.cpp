#include "check_box.h"

#include <gtest/gtest.h>

#include "check_box_resources.h"
#include "scaled_picture.h"
#include "twips.h"

#include <string>
#include <vector>

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

namespace quilvane::controls {
namespace {

constexpr COLORREF kGreyCaption = RGB(161, 161, 146);

// A host window with one check box of the main window's size (2820 x 255 twips at 96 dpi).
class CheckBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        host_ = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 100, 100, 320, 80, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(host_);
        ASSERT_TRUE(box_.Create(host_, 7, RECT{15, 19, 15 + 188, 19 + 17}, {L"ChkSets", hostFont_}));
        box_.InitProperties();
        box_.SetCaption(L"自动");
    }
    void TearDown() override { DestroyWindow(host_); }

    void Send(UINT message, WPARAM keys, POINT at) { SendMessageW(box_.hwnd(), message, keys, MAKELPARAM(at.x, at.y)); }
    void ClickAt(POINT at) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, at);
        Send(WM_LBUTTONUP, 0, at);
    }
    POINT Glyph() const { return {box_.GlyphRect().left + 6, box_.GlyphRect().top + 6}; }
    POINT CaptionPoint() const { return {box_.CaptionRect().left + 3, box_.CaptionRect().top + 3}; }
    static constexpr POINT kBlank{150, 8};
    void PointerAt(POINT client) {
        ClientToScreen(box_.hwnd(), &client);
        SetCursorPos(client.x, client.y);
    }

    ui::SharedFont hostFont_ = std::make_shared<ui::FontSpec>();
    HWND host_ = nullptr;
    CheckBox box_;
};

TEST_F(CheckBoxTest, ClickSeesTheOldValueThenTheValueTurns) {
    struct Case {
        int before, after, slotAfter;
    };
    for (const Case c : {Case{0, 1, 4}, Case{1, 0, 0}, Case{2, 0, 0}, Case{5, 5, 0}}) {
        box_.SetValue(0);
        box_.SetValue(c.before);
        int seen = -1, clicks = 0;
        box_.Click = [&] { seen = box_.Value(), ++clicks; };
        ClickAt(Glyph());
        EXPECT_EQ(clicks, 1) << c.before;
        EXPECT_EQ(seen, c.before);
        EXPECT_EQ(box_.Value(), c.after);
        EXPECT_EQ(box_.ShownSlot(), c.slotAfter) << c.before;
    }
}

TEST_F(CheckBoxTest, TheGlyphTheCaptionAndTheBlankAllClickButOnlyAWholeLeftClick) {
    int clicks = 0;
    box_.Click = [&] { ++clicks; };
    for (POINT at : {Glyph(), CaptionPoint(), kBlank}) ClickAt(at);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(box_.Value(), 1);

    Send(WM_LBUTTONUP, 0, Glyph());  // pressed elsewhere, released here
    Send(WM_RBUTTONDOWN, MK_RBUTTON, Glyph());
    Send(WM_RBUTTONUP, 0, Glyph());
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(box_.Value(), 1);
}

TEST_F(CheckBoxTest, SettingTheValueRaisesNoClickButTellsTheHost) {
    int clicks = 0;
    std::vector<std::string> changed;
    box_.Click = [&] { ++clicks; };
    box_.PropertyChanged = [&](const std::string& name) { changed.push_back(name); };
    box_.SetValue(2);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(box_.ShownSlot(), 8);
    EXPECT_EQ(changed, std::vector<std::string>{"Value"});
}

TEST_F(CheckBoxTest, HoverAndPressedLooksFollowThePointer) {
    box_.SetValue(1);
    Send(WM_MOUSEMOVE, 0, CaptionPoint());
    EXPECT_EQ(box_.ShownSlot(), 5);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, CaptionPoint());
    EXPECT_EQ(box_.ShownSlot(), 6);
    Send(WM_MOUSEMOVE, MK_LBUTTON, Glyph());
    EXPECT_EQ(box_.ShownSlot(), 6);
    Send(WM_MOUSEMOVE, MK_LBUTTON | MK_RBUTTON, Glyph());  // only the left button alone presses
    EXPECT_EQ(box_.ShownSlot(), 5);
    Send(WM_LBUTTONUP, 0, Glyph());
    EXPECT_EQ(box_.ShownSlot(), 0);

    box_.SetValue(2);
    Send(WM_MOUSEMOVE, 0, kBlank);
    EXPECT_EQ(box_.ShownSlot(), 9);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, kBlank);
    EXPECT_EQ(box_.ShownSlot(), 10);

    box_.SetValue(7);  // no pictures of its own: the glyph stays
    Send(WM_MOUSEMOVE, 0, kBlank);
    EXPECT_EQ(box_.ShownSlot(), 10);
}

TEST_F(CheckBoxTest, DisabledBoxIsGreyAndKeepsItsCaptionColourForLater) {
    box_.SetValue(1);
    box_.SetForeColor(RGB(0, 0, 200));
    box_.SetEnabled(false);
    EXPECT_EQ(box_.ShownSlot(), 7);
    EXPECT_EQ(box_.CaptionColor(), kGreyCaption);
    Send(WM_MOUSEMOVE, 0, Glyph());
    EXPECT_EQ(box_.ShownSlot(), 7);

    box_.SetForeColor(0x80000008);  // the system's window text colour
    EXPECT_EQ(box_.CaptionColor(), kGreyCaption);
    box_.SetEnabled(true);
    EXPECT_EQ(box_.ShownSlot(), 4);
    EXPECT_EQ(box_.CaptionColor(), GetSysColor(COLOR_WINDOWTEXT));

    box_.SetValue(2);
    EnableWindow(box_.hwnd(), FALSE);  // the host may disable the window directly
    EXPECT_FALSE(box_.Enabled());
    EXPECT_EQ(box_.ShownSlot(), 11);
}

TEST_F(CheckBoxTest, LeavingIsReportedOnceAndEndsThePoll) {
    EXPECT_TRUE(box_.LeavePollRunning());  // running from creation on
    int outs = 0;
    box_.MouseOut = [&] { ++outs; };
    Send(WM_MOUSEMOVE, 0, Glyph());
    RECT client{};
    GetClientRect(box_.hwnd(), &client);
    for (POINT inside : {Glyph(), POINT{client.right, client.bottom}, POINT{0, 0}}) {
        PointerAt(inside);
        box_.Timer1_Timer();
    }
    EXPECT_EQ(outs, 0);
    EXPECT_EQ(box_.ShownSlot(), 1);
    EXPECT_TRUE(box_.LeavePollRunning());

    PointerAt(POINT{client.right + 1, 5});
    box_.Timer1_Timer();
    EXPECT_EQ(outs, 1);
    EXPECT_EQ(box_.ShownSlot(), 0);
    EXPECT_FALSE(box_.LeavePollRunning());

    Send(WM_MOUSEMOVE, 0, Glyph());
    EXPECT_TRUE(box_.LeavePollRunning());
}

TEST_F(CheckBoxTest, MouseEventsCarryThePartsCoordinatesAndKeysNeverToggle) {
    std::vector<std::vector<float>> downs, moves;
    box_.MouseDown = [&](short& b, short& s, float& x, float& y) { downs.push_back({float(b), float(s), x, y}); };
    box_.MouseMove = [&](short& b, short& s, float& x, float& y) { moves.push_back({float(b), float(s), x, y}); };
    const RECT glyph = box_.GlyphRect(), caption = box_.CaptionRect();
    Send(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, POINT{glyph.left + 4, glyph.top + 5});
    Send(WM_MOUSEMOVE, MK_CONTROL, POINT{caption.left + 5, caption.top + 5});
    Send(WM_MOUSEMOVE, 0, kBlank);
    Send(WM_MOUSEMOVE, 0, POINT{-2, 4});
    EXPECT_EQ(downs, (std::vector<std::vector<float>>{{2, 1, 4, 5}}));
    EXPECT_EQ(moves, (std::vector<std::vector<float>>{{0, 2, float(caption.left), float(caption.top)},
                                                      {0, 0, float(kBlank.x), float(kBlank.y)}}));

    int clicks = 0;
    short down = 0, press = 0, up = 0;
    box_.Click = [&] { ++clicks; };
    box_.KeyDown = [&](short& key, short&) { down = key; };
    box_.KeyPress = [&](short& key) { press = key; };
    box_.KeyUp = [&](short& key, short&) { up = key; };
    SendMessageW(box_.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(box_.hwnd(), WM_CHAR, L'中', 0);
    SendMessageW(box_.hwnd(), WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(down, VK_SPACE);
    EXPECT_EQ(press, static_cast<short>(L'中'));
    EXPECT_EQ(up, VK_SPACE);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(box_.Value(), 0);
}

TEST_F(CheckBoxTest, GlyphAndCaptionAreCentredWithTheFractionDropped) {
    if (ui::ScreenDpi() != 96) GTEST_SKIP() << "places are checked at 96 dpi";
    box_.SetCaption(L"分割后生成批处理文件自动合并");
    EXPECT_EQ(box_.GlyphRect(), (RECT{0, 2, 13, 15}));  // (255 - 195) / 2 = 30 twips
    const RECT caption = box_.CaptionRect();
    EXPECT_EQ(caption.left, 16);
    EXPECT_GT(caption.right - caption.left, 100);
    EXPECT_NEAR(caption.top * 2 + (caption.bottom - caption.top), 17, 1);

    MoveWindow(box_.hwnd(), 15, 19, 188, 30, FALSE);  // (450 - 195) / 2 = 127.5 -> 127 twips, 8 pixels
    EXPECT_EQ(box_.GlyphRect().top, 8);
    const RECT taller = box_.CaptionRect();
    EXPECT_NEAR(taller.top * 2 + (taller.bottom - taller.top), 30, 1);
}

TEST_F(CheckBoxTest, NewInstanceStoresNothingAndSharesTheHostFont) {
    EXPECT_EQ(box_.Font().get(), hostFont_.get());
    EXPECT_EQ(box_.BackColor(), 0x8000000Fu);
    box_.SetCaption(L"ChkSets");
    ui::PropertyBag bag;
    box_.WriteProperties(bag);
    EXPECT_EQ(bag.writeOrder(),
              (std::vector<std::string>{"Font", "Value", "Caption", "Enabled", "BackColor", "ForeColor"}));
    for (const char* name : {"Font", "Value", "Caption", "Enabled", "BackColor", "ForeColor"})
        EXPECT_FALSE(bag.Contains(name)) << name;
}

TEST_F(CheckBoxTest, SavedPropertiesComeBackInReadOrder) {
    auto bold = std::make_shared<ui::FontSpec>();
    bold->bold = true;
    box_.SetValue(2);
    box_.SetEnabled(false);
    box_.SetFont(bold);
    box_.SetBackColor(RGB(1, 2, 3));
    box_.SetForeColor(0x80000008);
    ui::PropertyBag bag;
    box_.WriteProperties(bag);

    CheckBox loaded;
    ASSERT_TRUE(loaded.Create(host_, 8, RECT{15, 40, 203, 57}, {L"chkAdd", hostFont_}));
    std::vector<std::string> changed;
    loaded.PropertyChanged = [&](const std::string& name) { changed.push_back(name); };
    loaded.ReadProperties(bag);
    EXPECT_EQ(changed, (std::vector<std::string>{"Value", "Caption", "Font", "BackColor", "ForeColor"}));
    EXPECT_EQ(loaded.Value(), 2);
    EXPECT_EQ(loaded.Caption(), L"自动");
    EXPECT_FALSE(loaded.Enabled());
    EXPECT_EQ(loaded.ShownSlot(), 11);
    EXPECT_EQ(*loaded.Font(), *bold);
    EXPECT_EQ(loaded.BackColor(), RGB(1, 2, 3));
    EXPECT_EQ(loaded.ForeColor(), 0x80000008u);

    loaded.ReadProperties(ui::PropertyBag{});
    EXPECT_EQ(loaded.Caption(), L"chkAdd");
    EXPECT_TRUE(loaded.Enabled());
    EXPECT_EQ(loaded.Font().get(), hostFont_.get());
    EXPECT_EQ(loaded.BackColor(), 0x8000000Fu);
}

}  // namespace
}  // namespace quilvane::controls

namespace quilvane::controls {
namespace {

// The glyph fills the 195-twip square the layout gives it, and the stripes lie under the
// whole of a 2820 x 255-twip box, at every screen scale.
TEST(CheckBoxPictures, GlyphsAndStripesFitTheBoxAtEveryScale) {
    for (int dpi : {96, 120, 144, 192}) {
        for (int slot = 0; slot < 12; ++slot) {
            const auto glyph = ui::LoadScaledPicture(IDB_CHECK_BOX_GLYPH0 + slot * ui::kIdsPerScaledPicture, dpi);
            BITMAP size{};
            ASSERT_TRUE(GetObjectW(glyph.get(), sizeof size, &size)) << slot << " at " << dpi;
            EXPECT_EQ(size.bmWidth, ui::TwipsToPixels(195, dpi)) << slot << " at " << dpi;
            EXPECT_EQ(size.bmHeight, ui::TwipsToPixels(195, dpi)) << slot << " at " << dpi;
        }
        const auto stripes = ui::LoadScaledPicture(IDB_CHECK_BOX_BACKGROUND, dpi);
        BITMAP size{};
        ASSERT_TRUE(GetObjectW(stripes.get(), sizeof size, &size)) << dpi;
        EXPECT_GE(size.bmWidth, ui::TwipsToPixels(2820, dpi)) << dpi;
        EXPECT_GE(size.bmHeight, ui::TwipsToPixels(255, dpi)) << dpi;
    }
}

}  // namespace
}  // namespace quilvane::controls
