// The drop-down list driven by window messages: opening and picking, typing and focus, mouse
// events, the context-menu filter and the drop button's pictures.

#include <stdexcept>
#include <string>
#include <vector>

#include "drop_down_layout.h"
#include "drop_down_list_fixture.h"

namespace quilvane::controls::testing {
namespace {

HWND OpenedList(const DropDownList& list) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(list.ListWindow(), &info);
    return info.hwndList;
}

// Picks item `index` of the opened list the way a mouse click does.
void ClickItem(const DropDownList& list, int index) {
    RECT item{};
    SendMessageW(OpenedList(list), LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(OpenedList(list), WM_MOUSEMOVE, 0, point);
    SendMessageW(OpenedList(list), WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(OpenedList(list), WM_LBUTTONUP, 0, point);
}

LRESULT CALLBACK AnswerMessageBoxes(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t name[8] = {};
    if (code == HCBT_CREATEWND && GetClassNameW(reinterpret_cast<HWND>(wParam), name, 8) &&
        std::wstring(name) == L"#32770")
        PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

using DropDownListOpening = DropDownListTest;

TEST_F(DropDownListOpening, ClickingALockedTextOpensTheListRightUnderTheControl) {
    Fill({L"a", L"b"});
    bool openAtClick = true;
    list.Click = [&] { openAtClick = list.ListIsOpen(); };
    Press(list.TextBoxWindow(), WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_FALSE(openAtClick);  // the host hears of the click first
    ASSERT_TRUE(list.ListIsOpen());
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kNormalSlot);
    const RECT dropped = ScreenRect(OpenedList(list)), control = ScreenRect(list.hWnd());
    EXPECT_NEAR(dropped.top, control.bottom, 1);
    EXPECT_EQ(dropped.left, control.left);
    list.SetLists();
    EXPECT_FALSE(list.ListIsOpen());
    list.SetLocked(false);
    Press(list.TextBoxWindow(), WM_LBUTTONDOWN, WM_LBUTTONUP);
    EXPECT_FALSE(list.ListIsOpen());  // an editable text is clicked into, not opened
}

TEST_F(DropDownListOpening, EachPressOnTheButtonTogglesTheListAndHoverLastsUntilThen) {
    int moves = 0;
    list.MouseMove = [&](short&, short&, float&, float&) { ++moves; };
    SendMessageW(list.DropButtonWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(list.TextBoxWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kHoverSlot);  // no leaving restores it
    SendMessageW(list.DropButtonWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_TRUE(list.ListIsOpen());
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kNormalSlot);
    SendMessageW(list.DropButtonWindow(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
    EXPECT_FALSE(list.ListIsOpen());
}

using DropDownListPicking = DropDownListTest;

TEST_F(DropDownListPicking, APickTellsTheHostThenCopiesTheItemAndCloses) {
    Fill({L"C:\\a.iso", L"C:\\b.iso"});
    std::wstring textAtClick = L"?";
    list.Click = [&] { textAtClick = list.Text(); };
    list.SetLists();
    ClickItem(list, 1);
    EXPECT_EQ(textAtClick, L"");
    EXPECT_EQ(list.Text(), L"C:\\b.iso");
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_FALSE(list.ListIsOpen());
    EXPECT_NE(GetFocus(), list.TextBoxWindow());
}

TEST_F(DropDownListPicking, AnUnlockedPickSelectsTheWholeTextForTyping) {
    Fill({L"smtp.a.example"});
    list.SetLocked(false);
    list.SetLists();
    ClickItem(list, 0);
    EXPECT_EQ(GetFocus(), list.TextBoxWindow());
    DWORD start = 99, end = 0;
    SendMessageW(list.TextBoxWindow(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 14u);
}

TEST_F(DropDownListPicking, AFailingClickHandlerStillGetsTheTextCopied) {
    Fill({L"a", L"b"});
    list.Click = [] { throw std::runtime_error("host failed"); };
    // The failure is reported afterwards in a message box, which is answered at once.
    HHOOK closer = SetWindowsHookExW(WH_CBT, AnswerMessageBoxes, nullptr, GetCurrentThreadId());
    SendMessageW(list.ListWindow(), CB_SETCURSEL, 1, 0);
    SendMessageW(list.hWnd(), WM_COMMAND, MAKEWPARAM(1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list.ListWindow()));
    UnhookWindowsHookEx(closer);
    EXPECT_EQ(list.Text(), L"b");
}

using DropDownListTyping = DropDownListTest;

TEST_F(DropDownListTyping, ALockedTextRefusesTypingAndPassesTheFocusOn) {
    list.SetText(L"ab");
    SendMessageW(list.TextBoxWindow(), WM_CHAR, L'x', 0);
    EXPECT_EQ(list.Text(), L"ab");
    SetFocus(list.hWnd());  // tabbing onto the control
    EXPECT_EQ(GetFocus(), next);
    list.SetLocked(false);
    SetFocus(list.hWnd());
    EXPECT_EQ(GetFocus(), list.TextBoxWindow());
    SendMessageW(list.TextBoxWindow(), EM_SETSEL, 2, 2);
    SendMessageW(list.TextBoxWindow(), WM_CHAR, L'x', 0);
    EXPECT_EQ(list.Text(), L"abx");
}

using DropDownListContextMenu = DropDownListTest;

TEST_F(DropDownListContextMenu, SetPopNoLeavesTheRightButtonToTheHostAndSetPopYsUndoesIt) {
    ContextMenuProbe probe(list.TextBoxWindow());
    std::vector<short> buttons;
    float x = 0;
    list.MouseDown = [&](short& button, short&, float& at, float&) {
        buttons.push_back(button);
        x = at;
    };
    list.SetPopNo();
    Press(list.TextBoxWindow(), WM_RBUTTONDOWN, WM_RBUTTONUP, 4, 2);  // asks the text box for its menu
    Press(list.TextBoxWindow(), WM_LBUTTONDOWN, WM_LBUTTONUP, 4, 2);
    if (list.ListIsOpen()) list.SetLists();
    EXPECT_EQ(probe.reached, 0);
    EXPECT_EQ(buttons, (std::vector<short>{2, 1}));
    EXPECT_FLOAT_EQ(x, 4.0f * ui::kTwipsPerInch / ui::ScreenDpi());
    list.SetPopYs();
    SendMessageW(list.TextBoxWindow(), WM_CONTEXTMENU, 0, -1);
    EXPECT_EQ(probe.reached, 1);
}

TEST_F(DropDownListContextMenu, AnyOrderOfCallsLeavesAWorkingTextBoxAndOtherControlsAlone) {
    DropDownList other(host, RECT{10, 40, 210, 61});
    ContextMenuProbe mine(list.TextBoxWindow()), theirs(other.TextBoxWindow());
    list.SetPopYs();  // before any SetPopNo
    list.SetPopNo();
    list.SetPopNo();
    other.SetPopNo();
    other.SetPopYs();
    SendMessageW(list.TextBoxWindow(), WM_CONTEXTMENU, 0, -1);
    SendMessageW(other.TextBoxWindow(), WM_CONTEXTMENU, 0, -1);
    EXPECT_EQ(mine.reached, 0);
    EXPECT_EQ(theirs.reached, 1);
    list.SetPopYs();
    SendMessageW(list.TextBoxWindow(), WM_CONTEXTMENU, 0, -1);
    EXPECT_EQ(mine.reached, 1);
    list.SetLocked(false);
    SendMessageW(list.TextBoxWindow(), WM_CHAR, L'z', 0);
    EXPECT_EQ(list.Text(), L"z");
}

TEST_F(DropDownListTest, DisabledGreysTextOutlineAndButtonYetTheButtonStillOpens) {
    Fill({L"a"});
    list.SetEnabled(false);
    EXPECT_FALSE(IsWindowEnabled(list.TextBoxWindow()));
    EXPECT_EQ(list.OutlineColour(), RGB(192, 192, 192));
    SendMessageW(list.DropButtonWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(list.DropButtonWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(list.ListIsOpen());
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kDisabledSlot);  // not lost to hover or press
    ClickItem(list, 0);
    EXPECT_EQ(list.Text(), L"a");
    list.SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(list.TextBoxWindow()));
    EXPECT_EQ(list.OutlineColour(), RGB(127, 157, 185));
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kNormalSlot);
}

// At every screen scale the pictures are exactly the size of the button they fill.
TEST(DropDownListPictures, TheFourButtonLooksFitTheButtonAtEveryScale) {
    for (int dpi : {96, 120, 144, 192}) {
        const ButtonPictures pictures(dpi);
        const int side = ui::TwipsToPixels(kButtonSize, dpi);
        for (int slot = 0; slot < 4; ++slot) {
            BITMAP size{};
            ASSERT_TRUE(GetObjectW(pictures.Slot(slot), sizeof size, &size)) << slot << " at " << dpi;
            EXPECT_EQ(size.bmWidth, side) << slot << " at " << dpi;
            EXPECT_EQ(size.bmHeight, side) << slot << " at " << dpi;
        }
    }
}

}  // namespace
}  // namespace quilvane::controls::testing
