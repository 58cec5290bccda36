// The drop-down list driven by window messages: opening and picking, typing and focus,
// mouse events, the context-menu filter and the drop button's pictures.

#include "drop_down_list_fixture.h"

namespace quilvane::controls::testing {
namespace {

// Picks item `index` in the opened list the way a mouse click does.
void ClickItemOfOpenList(const DropDownList& list, int index) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(list.ListWindow(), &info));
    RECT item{};
    SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(info.hwndList, WM_MOUSEMOVE, 0, point);
    SendMessageW(info.hwndList, WM_LBUTTONDOWN, MK_LBUTTON, point);
    SendMessageW(info.hwndList, WM_LBUTTONUP, 0, point);
}

using DropDownListOpening = DropDownListTest;

TEST_F(DropDownListOpening, ClickingALockedTextOpensTheListAfterTellingTheHost) {
    FillWith({L"a", L"b"});
    bool openAtClick = true;
    list.Click = [&] { openAtClick = list.ListIsOpen(); };
    LeftClick(list.TextBoxWindow());
    EXPECT_FALSE(openAtClick);
    EXPECT_TRUE(list.ListIsOpen());
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kNormalSlot);
    list.SetLists();
    EXPECT_FALSE(list.ListIsOpen());
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kNormalSlot);
}

TEST_F(DropDownListOpening, ClickingAnUnlockedTextOnlyTellsTheHost) {
    list.SetLocked(false);
    int clicks = 0;
    list.Click = [&] { ++clicks; };
    LeftClick(list.TextBoxWindow());
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(list.ListIsOpen());
}

TEST_F(DropDownListOpening, EachPressOnTheDropButtonTogglesTheListAndTheButtonRests) {
    FillWith({L"a"});
    SendMessageW(list.DropButtonWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    EXPECT_TRUE(list.ListIsOpen());
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kNormalSlot);
    SendMessageW(list.DropButtonWindow(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(4, 4));
    EXPECT_FALSE(list.ListIsOpen());
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kNormalSlot);
}

TEST_F(DropDownListOpening, TheOpenListLiesRightUnderTheControl) {
    FillWith({L"a", L"b"});
    list.SetLists();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(list.ListWindow(), &info));
    RECT dropped{}, control{};
    GetWindowRect(info.hwndList, &dropped);
    GetWindowRect(list.hWnd(), &control);
    EXPECT_TRUE(IsWindowVisible(info.hwndList));
    EXPECT_NEAR(dropped.top, control.bottom, 1);
    EXPECT_EQ(dropped.left, control.left);
    list.SetLists();
}

using DropDownListPicking = DropDownListTest;

TEST_F(DropDownListPicking, APickTellsTheHostThenCopiesTheItemAndCloses) {
    FillWith({L"C:\\a.iso", L"C:\\b.iso"});
    std::wstring textAtClick = L"?";
    list.Click = [&] { textAtClick = list.Text(); };
    list.SetLists();
    ClickItemOfOpenList(list, 1);
    EXPECT_EQ(textAtClick, L"");
    EXPECT_EQ(list.Text(), L"C:\\b.iso");
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_FALSE(list.ListIsOpen());
    EXPECT_NE(GetFocus(), list.TextBoxWindow());
}

TEST_F(DropDownListPicking, AnUnlockedPickLeavesTheWholeTextSelectedForTyping) {
    FillWith({L"smtp.a.example", L"smtp.b.example"});
    list.SetLocked(false);
    list.SetLists();
    ClickItemOfOpenList(list, 0);
    EXPECT_EQ(list.Text(), L"smtp.a.example");
    EXPECT_EQ(GetFocus(), list.TextBoxWindow());
    DWORD start = 99, end = 0;
    SendMessageW(list.TextBoxWindow(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 14u);
}

TEST_F(DropDownListPicking, AFailingClickHandlerStillGetsTheTextCopied) {
    FillWith({L"a", L"b"});
    list.Click = [] { throw std::runtime_error("host failed"); };
    // The control reports the failure afterwards in a message box; it is answered at once.
    HHOOK closer = SetWindowsHookExW(
        WH_CBT,
        [](int code, WPARAM wParam, LPARAM lParam) -> LRESULT {
            wchar_t className[16] = {};
            if (code == HCBT_CREATEWND && GetClassNameW(reinterpret_cast<HWND>(wParam), className, 16) &&
                std::wstring(className) == L"#32770")
                PostMessageW(reinterpret_cast<HWND>(wParam), WM_COMMAND, IDOK, 0);
            return CallNextHookEx(nullptr, code, wParam, lParam);
        },
        nullptr, GetCurrentThreadId());
    SendMessageW(list.ListWindow(), CB_SETCURSEL, 1, 0);
    SendMessageW(list.hWnd(), WM_COMMAND, MAKEWPARAM(1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list.ListWindow()));
    UnhookWindowsHookEx(closer);
    EXPECT_EQ(list.Text(), L"b");
}

using DropDownListTyping = DropDownListTest;

TEST_F(DropDownListTyping, ALockedTextRefusesTypingAndAnUnlockedOneTakesIt) {
    list.SetText(L"ab");
    SendMessageW(list.TextBoxWindow(), WM_CHAR, L'x', 0);
    EXPECT_EQ(list.Text(), L"ab");
    list.SetLocked(false);
    SendMessageW(list.TextBoxWindow(), EM_SETSEL, 2, 2);
    SendMessageW(list.TextBoxWindow(), WM_CHAR, L'x', 0);
    EXPECT_EQ(list.Text(), L"abx");
}

TEST_F(DropDownListTyping, ALockedTextPassesTheFocusOnToTheNextTabStop) {
    SetFocus(list.TextBoxWindow());
    EXPECT_EQ(GetFocus(), next);
    SetFocus(list.hWnd());  // tabbing onto the control lands on its text first
    EXPECT_EQ(GetFocus(), next);
    list.SetLocked(false);
    SetFocus(list.hWnd());
    EXPECT_EQ(GetFocus(), list.TextBoxWindow());
}

using DropDownListMouse = DropDownListTest;

TEST_F(DropDownListMouse, ButtonsGoingDownOnTheTextReachTheHostWithTheirNumberInTwips) {
    std::vector<short> buttons;
    float lastX = 0, lastY = 0;
    list.MouseDown = [&](short& button, short&, float& x, float& y) {
        buttons.push_back(button);
        lastX = x;
        lastY = y;
    };
    ContextMenuProbe probe(list.TextBoxWindow());
    Press(list.TextBoxWindow(), WM_RBUTTONDOWN, WM_RBUTTONUP, 4, 2);
    Press(list.TextBoxWindow(), WM_LBUTTONDOWN, WM_LBUTTONUP, 4, 2);
    EXPECT_EQ(buttons, (std::vector<short>{2, 1}));
    EXPECT_FLOAT_EQ(lastX, 4.0f * ui::kTwipsPerInch / ui::ScreenDpi());
    EXPECT_FLOAT_EQ(lastY, 2.0f * ui::kTwipsPerInch / ui::ScreenDpi());
}

TEST_F(DropDownListMouse, PointingAtTheButtonShowsHoverUntilTheNextToggle) {
    int moves = 0;
    list.MouseMove = [&](short&, short&, float&, float&) { ++moves; };
    SendMessageW(list.DropButtonWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kHoverSlot);
    SendMessageW(list.TextBoxWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kHoverSlot);
    EXPECT_EQ(moves, 2);
    list.SetLists();
    list.SetLists();
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kNormalSlot);
}

using DropDownListContextMenu = DropDownListTest;

TEST_F(DropDownListContextMenu, SetPopNoKeepsTheTextsOwnMenuAwayAndSetPopYsGivesItBack) {
    ContextMenuProbe probe(list.TextBoxWindow());
    SendMessageW(list.TextBoxWindow(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.TextBoxWindow()), -1);
    EXPECT_EQ(probe.reached, 1);
    list.SetPopNo();
    short button = 0;
    list.MouseDown = [&](short& pressed, short&, float&, float&) { button = pressed; };
    Press(list.TextBoxWindow(), WM_RBUTTONDOWN, WM_RBUTTONUP);  // a real right click asks for the menu
    EXPECT_EQ(button, 2);
    EXPECT_EQ(SendMessageW(list.TextBoxWindow(), WM_CONTEXTMENU, 0, -1), 0);
    EXPECT_EQ(probe.reached, 1);
    list.SetPopYs();
    SendMessageW(list.TextBoxWindow(), WM_CONTEXTMENU, 0, -1);
    EXPECT_EQ(probe.reached, 2);
}

TEST_F(DropDownListContextMenu, SetPopYsFirstOrSetPopNoTwiceLeavesAWorkingTextBox) {
    ContextMenuProbe probe(list.TextBoxWindow());
    list.SetLocked(false);
    list.SetPopYs();
    list.SetPopNo();
    list.SetPopNo();
    SendMessageW(list.TextBoxWindow(), WM_CONTEXTMENU, 0, -1);
    EXPECT_EQ(probe.reached, 0);
    list.SetPopYs();
    list.SetPopYs();
    SendMessageW(list.TextBoxWindow(), WM_CONTEXTMENU, 0, -1);
    EXPECT_EQ(probe.reached, 1);
    SendMessageW(list.TextBoxWindow(), WM_CHAR, L'z', 0);
    EXPECT_EQ(list.Text(), L"z");
}

TEST_F(DropDownListContextMenu, EachControlFiltersOnlyItsOwnText) {
    DropDownList other(host, RECT{10, 40, 210, 61});
    ContextMenuProbe mine(list.TextBoxWindow()), theirs(other.TextBoxWindow());
    list.SetPopNo();
    other.SetPopNo();
    other.SetPopYs();
    SendMessageW(list.TextBoxWindow(), WM_CONTEXTMENU, 0, -1);
    SendMessageW(other.TextBoxWindow(), WM_CONTEXTMENU, 0, -1);
    EXPECT_EQ(mine.reached, 0);
    EXPECT_EQ(theirs.reached, 1);
}

using DropDownListEnabling = DropDownListTest;

TEST_F(DropDownListEnabling, DisabledGreysTheTextOutlineAndButtonButStillOpens) {
    FillWith({L"a"});
    list.SetEnabled(false);
    EXPECT_FALSE(list.Enabled());
    EXPECT_FALSE(IsWindowEnabled(list.TextBoxWindow()));
    EXPECT_EQ(list.OutlineColour(), RGB(192, 192, 192));
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kDisabledSlot);
    SendMessageW(list.DropButtonWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    SendMessageW(list.DropButtonWindow(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(list.ListIsOpen());
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kDisabledSlot);
    ClickItemOfOpenList(list, 0);
    EXPECT_EQ(list.Text(), L"a");

    list.SetEnabled(true);
    EXPECT_TRUE(list.Enabled());
    EXPECT_TRUE(IsWindowEnabled(list.TextBoxWindow()));
    EXPECT_EQ(list.OutlineColour(), RGB(127, 157, 185));
    EXPECT_EQ(list.ShownButtonSlot(), DropDownList::kNormalSlot);
}

TEST(DropDownListPictures, TheFourButtonLooksComeFromTheResourcesAtTheirSize) {
    const ButtonPictures pictures;
    for (int slot = 0; slot < 4; ++slot) {
        BITMAP size{};
        ASSERT_NE(pictures.Slot(slot), nullptr) << slot;
        ASSERT_TRUE(GetObjectW(pictures.Slot(slot), sizeof size, &size)) << slot;
        EXPECT_EQ(size.bmWidth, 17) << slot;
        EXPECT_EQ(size.bmHeight, 17) << slot;
    }
}

}  // namespace
}  // namespace quilvane::controls::testing
