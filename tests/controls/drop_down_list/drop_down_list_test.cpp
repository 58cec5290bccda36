// Items, the shown text, the property bag and the layout of the drop-down list.

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "drop_down_layout.h"
#include "drop_down_list_fixture.h"

namespace quilvane::controls::testing {
namespace {

using DropDownListItems = DropDownListTest;

TEST_F(DropDownListItems, InsertsBeforeAPositionAndShowsOnlyARealSelection) {
    list.AddItem(L"a");
    list.AddItem(L"b", 0);
    EXPECT_EQ(list.List(0), L"b");
    EXPECT_EQ(list.List(1), L"a");
    EXPECT_EQ(list.Text(), L"");  // nothing selected yet
    list.SetListIndex(1);
    list.AddItem(L"c", 0);  // the selection moves along with its item
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_EQ(list.Text(), L"a");
    list.SetListIndex(-1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), L"a");
}

TEST_F(DropDownListItems, RemovingAnyItemOrClearingEmptiesTheText) {
    Fill({L"C:\\a.iso", L"C:\\b.iso", L"C:\\c.iso"});
    list.SetListIndex(0);
    list.RemoveItem(2);  // not the selected one
    EXPECT_EQ(list.Text(), L"");
    EXPECT_EQ(list.ListCount(), 2);
    list.SetText(L"C:\\b.iso");
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.Text(), L"");
}

TEST_F(DropDownListItems, PositionsTheListLacksAreRefusedAndChangeNothing) {
    Fill({L"a", L"b"});
    list.SetListIndex(1);
    EXPECT_THROW(list.RemoveItem(2), std::out_of_range);
    EXPECT_THROW(list.AddItem(L"x", 3), std::out_of_range);
    EXPECT_THROW(list.SetListIndex(2), std::out_of_range);
    EXPECT_THROW(list.ItemData(2), std::out_of_range);
    EXPECT_THROW(list.List(32768), std::overflow_error);
    EXPECT_EQ(list.List(5), L"");
    EXPECT_EQ(list.ItemData(-1), 0);
    EXPECT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.ListIndex(), 1);
}

TEST_F(DropDownListItems, ItemDataStaysWithItsItem) {
    Fill({L"a", L"b"});
    list.SetItemData(0, -7);
    list.SetItemData(1, 2'000'000'000);
    list.AddItem(L"first", 0);
    EXPECT_EQ(list.ItemData(1), -7);
    EXPECT_EQ(list.ItemData(2), 2'000'000'000);
}

TEST_F(DropDownListItems, ATextSelectsTheItemItNamesAndOnlyThenNotifies) {
    Fill({L"smtp.a.example", L"smtp.b.example"});
    std::vector<std::string> notified;
    list.PropertyChanged = [&](const std::string& name) { notified.push_back(name); };
    list.SetText(L"smtp.b.example");
    EXPECT_EQ(list.ListIndex(), 1);
    list.SetText(L"typed.example");  // no item's text: shown, selection kept, nothing notified
    EXPECT_EQ(list.Text(), L"typed.example");
    EXPECT_EQ(list.ListIndex(), 1);
    list.SetLocked(false);
    list.SetEnabled(true);
    EXPECT_EQ(notified, (std::vector<std::string>{"Text", "Locked", "Enabled"}));
}

using DropDownListProperties = DropDownListTest;

TEST_F(DropDownListProperties, ANewInstanceWritesEveryNameInOrderAndStoresNone) {
    list.InitProperties();
    ui::PropertyBag bag;
    list.WriteProperties(bag);
    EXPECT_EQ(bag.writeOrder(), (std::vector<std::string>{"Text", "Font", "ListIndex", "Locked", "Enabled"}));
    for (const auto& name : bag.writeOrder()) EXPECT_FALSE(bag.Contains(name)) << name;
}

TEST_F(DropDownListProperties, ChangedValuesSurviveASaveAndLoad) {
    ui::FontSpec big;
    big.points = 12;
    list.SetText(L"typed");
    list.SetFont(std::make_shared<ui::FontSpec>(big));
    list.SetLocked(false);
    list.SetEnabled(true);
    ui::PropertyBag bag;
    list.WriteProperties(bag);

    DropDownList loaded(host, RECT{10, 40, 210, 61});
    loaded.ReadProperties(bag);
    EXPECT_EQ(loaded.Text(), L"typed");
    EXPECT_EQ(*loaded.Font(), big);
    EXPECT_FALSE(loaded.Locked());
    EXPECT_TRUE(loaded.Enabled());
}

TEST_F(DropDownListProperties, LoadingDefaultsKeepsTheHostsFontAndAnEnabledLook) {
    auto hostFont = std::make_shared<ui::FontSpec>();
    DropDownList loaded(host, RECT{10, 40, 210, 61}, 0, hostFont);
    ui::PropertyBag bag;
    bag.Write<std::int32_t>("ListIndex", 3, -1);  // a position the still empty list lacks
    loaded.ReadProperties(bag);
    EXPECT_EQ(loaded.Font(), hostFont);
    EXPECT_EQ(loaded.ListIndex(), -1);
    EXPECT_FALSE(loaded.Enabled());
    EXPECT_TRUE(IsWindowEnabled(loaded.TextBoxWindow()));
    EXPECT_EQ(loaded.ShownButtonSlot(), DropDownList::kNormalSlot);
}

using DropDownListLayout = DropDownListTest;

TEST_F(DropDownListLayout, KeepsOneRowHighAMinimumWideAndTheButtonAtTheRightEdge) {
    for (const int width : {Px(300), 250, 90}) {
        MoveWindow(list.hWnd(), 10, 10, width, 80, TRUE);
        const RECT control = ScreenRect(list.hWnd()), button = ScreenRect(list.DropButtonWindow());
        EXPECT_EQ(control.right - control.left, std::max(width, Px(400))) << width;
        EXPECT_EQ(control.bottom - control.top, Px(315)) << width;
        EXPECT_EQ(control.right - button.left, Px(285)) << width;
        EXPECT_LT(ScreenRect(list.TextBoxWindow()).right, button.left) << width;
    }
}

TEST_F(DropDownListLayout, LargerTextRisesAndStaysPutOnLaterLayouts) {
    EXPECT_EQ(LayOutDropDown(2445, 9).textTop, 60);
    EXPECT_EQ(LayOutDropDown(2445, 10.5).textTop, 22.5);
    ui::FontSpec larger;
    larger.points = 10.5;
    list.SetFont(std::make_shared<ui::FontSpec>(larger));
    const LONG risen = ScreenRect(list.TextBoxWindow()).top - ScreenRect(list.hWnd()).top;
    EXPECT_LT(risen, Px(60));
    MoveWindow(list.hWnd(), 10, 10, 260, 21, TRUE);
    EXPECT_EQ(ScreenRect(list.TextBoxWindow()).top - ScreenRect(list.hWnd()).top, risen);
}

}  // namespace
}  // namespace quilvane::controls::testing
