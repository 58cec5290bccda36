// Items, the shown text, the property bag and the layout of the drop-down list.

#include <stdexcept>

#include "drop_down_layout.h"
#include "drop_down_list_fixture.h"

namespace quilvane::controls::testing {
namespace {

using DropDownListItems = DropDownListTest;

TEST_F(DropDownListItems, InsertGoesBeforeThePositionAndShowsNothingWhileNoneIsSelected) {
    list.AddItem(L"a");
    list.AddItem(L"b", 0);
    EXPECT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.List(0), L"b");
    EXPECT_EQ(list.List(1), L"a");
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), L"");
}

TEST_F(DropDownListItems, AddingKeepsTheSelectedItemShown) {
    FillWith({L"a", L"b"});
    list.SetListIndex(1);
    list.AddItem(L"c", 0);  // the selection moves along with its item
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_EQ(list.Text(), L"b");
}

TEST_F(DropDownListItems, RemovingAnyItemOrClearingEmptiesTheText) {
    FillWith({L"C:\\a.iso", L"C:\\b.iso", L"C:\\c.iso"});
    list.SetListIndex(0);
    list.RemoveItem(2);  // not the selected one
    EXPECT_EQ(list.Text(), L"");
    EXPECT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.ListIndex(), 0);
    list.SetText(L"C:\\b.iso");
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), L"");
}

TEST_F(DropDownListItems, PositionsTheListLacksAreRefusedWithoutChangingIt) {
    FillWith({L"a", L"b"});
    list.SetListIndex(1);
    EXPECT_THROW(list.RemoveItem(2), std::out_of_range);
    EXPECT_THROW(list.RemoveItem(-1), std::out_of_range);
    EXPECT_THROW(list.AddItem(L"x", 3), std::out_of_range);
    EXPECT_THROW(list.SetListIndex(2), std::out_of_range);
    EXPECT_THROW(list.SetListIndex(-2), std::out_of_range);
    EXPECT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(list.Text(), L"b");
    list.AddItem(L"end", 2);  // the position just past the last item appends
    EXPECT_EQ(list.List(2), L"end");
}

TEST_F(DropDownListItems, ListAnswersEmptyOutsideTheItemsButRefusesPositionsBeyondSixteenBits) {
    FillWith({L"a"});
    EXPECT_EQ(list.List(-1), L"");
    EXPECT_EQ(list.List(5), L"");
    EXPECT_THROW(list.List(32768), std::overflow_error);
    EXPECT_THROW(list.List(-32769), std::overflow_error);
}

TEST_F(DropDownListItems, ItemDataFollowsItsItemAndMinusOneMeansZero) {
    EXPECT_EQ(list.ItemData(-1), 0);  // even with no items at all
    FillWith({L"a", L"b"});
    list.SetItemData(0, -7);
    list.SetItemData(1, 2'000'000'000);
    list.AddItem(L"first", 0);
    EXPECT_EQ(list.ItemData(1), -7);
    EXPECT_EQ(list.ItemData(2), 2'000'000'000);
    EXPECT_THROW(list.ItemData(3), std::out_of_range);
    EXPECT_THROW(list.SetItemData(3, 1), std::out_of_range);
}

using DropDownListText = DropDownListTest;

TEST_F(DropDownListText, OnlyARealSelectionCopiesItsText) {
    list.AddItem(L"a");
    list.AddItem(L"b", 0);
    list.SetListIndex(1);
    EXPECT_EQ(list.Text(), L"a");
    list.SetListIndex(-1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), L"a");
}

TEST_F(DropDownListText, ATextThatNamesAnItemSelectsIt) {
    FillWith({L"smtp.a.example", L"smtp.b.example"});
    list.PropertyChanged = [this](const std::string& name) { notified.push_back(name); };
    list.SetText(L"smtp.b.example");
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(list.Text(), L"smtp.b.example");
    EXPECT_EQ(notified, std::vector<std::string>{"Text"});
}

TEST_F(DropDownListText, AnyOtherTextIsShownButLeavesTheSelectionAndNotifiesNothing) {
    FillWith({L"smtp.a.example"});
    list.SetListIndex(0);
    list.PropertyChanged = [this](const std::string& name) { notified.push_back(name); };
    list.SetText(L"mail.typed.example");
    EXPECT_EQ(list.Text(), L"mail.typed.example");
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_TRUE(notified.empty());
}

TEST_F(DropDownListText, SettersTellTheHostWhichPropertyChanged) {
    FillWith({L"a"});
    list.PropertyChanged = [this](const std::string& name) { notified.push_back(name); };
    list.SetListIndex(0);
    list.SetLocked(false);
    list.SetEnabled(true);
    list.SetFont(std::make_shared<ui::FontSpec>());
    EXPECT_EQ(notified, (std::vector<std::string>{"ListIndex", "Locked", "Enabled", "Font"}));
}

using DropDownListProperties = DropDownListTest;

TEST_F(DropDownListProperties, ANewInstanceStoresNothingAndWritesInItsOrder) {
    list.InitProperties();
    ui::PropertyBag bag;
    list.WriteProperties(bag);
    EXPECT_EQ(bag.writeOrder(), (std::vector<std::string>{"Text", "Font", "ListIndex", "Locked", "Enabled"}));
    for (const char* name : {"Text", "Font", "ListIndex", "Locked", "Enabled"}) EXPECT_FALSE(bag.Contains(name)) << name;
    EXPECT_FALSE(list.Enabled());
    EXPECT_TRUE(list.Locked());
}

TEST_F(DropDownListProperties, ChangedValuesSurviveASaveAndLoad) {
    ui::FontSpec big;
    big.points = 12;
    big.bold = true;
    list.SetText(L"typed");
    list.SetFont(std::make_shared<ui::FontSpec>(big));
    list.SetLocked(false);
    list.SetEnabled(true);
    ui::PropertyBag bag;
    list.WriteProperties(bag);
    EXPECT_FALSE(bag.Contains("ListIndex"));

    DropDownList loaded(host, RECT{10, 40, 210, 61});
    loaded.ReadProperties(bag);
    EXPECT_EQ(loaded.Text(), L"typed");
    EXPECT_EQ(*loaded.Font(), big);
    EXPECT_FALSE(loaded.Locked());
    EXPECT_TRUE(loaded.Enabled());
}

TEST_F(DropDownListProperties, ALoadedControlLooksEnabledWhateverItsFlag) {
    ui::PropertyBag bag;  // "Enabled" absent: the flag reads false
    DropDownList loaded(host, RECT{10, 40, 210, 61});
    loaded.ReadProperties(bag);
    EXPECT_FALSE(loaded.Enabled());
    EXPECT_TRUE(IsWindowEnabled(loaded.TextBoxWindow()));
    EXPECT_EQ(loaded.ShownButtonSlot(), DropDownList::kNormalSlot);
}

TEST_F(DropDownListProperties, AStoredPositionTheEmptyListLacksIsNotApplied) {
    ui::PropertyBag bag;
    bag.Write<std::int32_t>("ListIndex", 3, -1);
    list.ReadProperties(bag);
    EXPECT_EQ(list.ListIndex(), -1);
}

TEST_F(DropDownListProperties, TheHostsFontIsSharedAndNotStored) {
    auto hostFont = std::make_shared<ui::FontSpec>();
    hostFont->points = 10.5;
    DropDownList shared(host, RECT{10, 40, 210, 61}, 0, hostFont);
    EXPECT_EQ(shared.Font(), hostFont);
    ui::PropertyBag bag;
    shared.WriteProperties(bag);
    EXPECT_FALSE(bag.Contains("Font"));
    shared.ReadProperties(bag);
    EXPECT_EQ(shared.Font(), hostFont);
}

using DropDownListLayout = DropDownListTest;

TEST_F(DropDownListLayout, TooNarrowGrowsToTheMinimumAndEveryHeightBecomesOneRow) {
    MoveWindow(list.hWnd(), 10, 10, Px(300), 80, TRUE);
    RECT place = PlaceOf(list.hWnd());
    EXPECT_EQ(place.right - place.left, Px(400));
    EXPECT_EQ(place.bottom - place.top, Px(315));
    MoveWindow(list.hWnd(), 10, 10, 250, 5, TRUE);
    place = PlaceOf(list.hWnd());
    EXPECT_EQ(place.right - place.left, 250);
    EXPECT_EQ(place.bottom - place.top, Px(315));
}

TEST_F(DropDownListLayout, TheDropButtonKeepsToTheRightEdge) {
    for (const int width : {200, 320, 90}) {
        MoveWindow(list.hWnd(), 10, 10, width, 21, TRUE);
        const RECT control = PlaceOf(list.hWnd());
        const RECT button = PlaceOf(list.DropButtonWindow());
        EXPECT_EQ(control.right - button.left, Px(285)) << width;
        EXPECT_EQ(button.right - button.left, Px(255)) << width;
        EXPECT_LT(PlaceOf(list.TextBoxWindow()).right, button.left) << width;
    }
}

TEST_F(DropDownListLayout, LargerTextRisesAndStaysPutOnLaterLayouts) {
    EXPECT_EQ(LayOutDropDown(2445, 9).textTop, 60);
    EXPECT_EQ(LayOutDropDown(2445, 10.5).textTop, 22.5);
    const LONG controlTop = PlaceOf(list.hWnd()).top;
    ui::FontSpec larger;
    larger.points = 10.5;
    list.SetFont(std::make_shared<ui::FontSpec>(larger));
    const LONG risen = PlaceOf(list.TextBoxWindow()).top - controlTop;
    EXPECT_LT(risen, Px(60));
    MoveWindow(list.hWnd(), 10, 10, 260, 21, TRUE);
    MoveWindow(list.hWnd(), 10, 10, 200, 21, TRUE);
    EXPECT_EQ(PlaceOf(list.TextBoxWindow()).top - controlTop, risen);
}

TEST_F(DropDownListLayout, TheHiddenListLiesUnderThePanelAcrossTheWholeWidth) {
    const RECT control = PlaceOf(list.hWnd());
    const RECT combo = PlaceOf(list.ListWindow());
    EXPECT_EQ(combo.left, control.left);
    EXPECT_EQ(combo.right, control.right);
    EXPECT_EQ(combo.bottom, control.bottom);  // so its list opens right under the control
    // The panel is the topmost part, so the combo box itself is never seen.
    EXPECT_NE(GetTopWindow(list.hWnd()), list.ListWindow());
}

}  // namespace
}  // namespace quilvane::controls::testing
