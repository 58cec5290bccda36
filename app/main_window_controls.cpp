// The main window's own controls, how they are arranged, and which handler each event runs.

#include <windows.h>
#include <commctrl.h>

#include "main_window.h"
#include "resource_ids.h"
#include "scaled_picture.h"
#include "utf16.h"

namespace quilvane::app {

HWND MainF::CreateCustomControl(const ui::ControlDesign& design, HWND container, const RECT& place) {
    switch (design.kind) {
    case ControlKind::CheckBox:
        CreateOptionBox(OptionBox(static_cast<ControlId>(design.id)), design, container,
                        FittingCaption(place, Pixels(controls::CheckBox::kCaptionLeftTwips), design.caption));
        return OptionBox(static_cast<ControlId>(design.id)).hwnd();
    case ControlKind::DropDownList:
        combo1_ = std::make_unique<controls::DropDownList>(container, place, design.id, sharedFont());
        return combo1_->hwnd();
    default: {  // the contact strip
        contactPicture_ = ui::LoadScaledPicture(IDB_CONTACT_STRIP, dpi());
        const RECT label = kContactLabelPlace.ToPixels(dpi());
        picture1_.Create(container, design.id, FittingCaption(place, label.left, kContactCaption), label,
                         kContactCaption, font(), contactPicture_.get());
        return picture1_.hwnd();
    }
    }
}

void MainF::CreateOptionBox(controls::CheckBox& box, const ui::ControlDesign& design, HWND container,
                            const RECT& place) {
    const std::wstring name = Widen(design.name);
    box.Create(container, design.id, place, {name, sharedFont()});
    // The window's stored design: its caption and the shared font.
    ui::PropertyBag designBag;
    designBag.Write<std::wstring>("Caption", design.caption, name);
    box.ReadProperties(designBag);
    box.SetFont(sharedFont());
}

void MainF::ArrangeControls() {
    listMenu_.Reset(CreatePopupMenu());
    AppendMenuW(listMenu_.get(), MF_STRING, kDels, L"删除当前行");
    AppendMenuW(listMenu_.get(), MF_STRING, kClse, L"清空列表");
    SendMessageW(Control(kP1), PBM_SETRANGE32, 0, 100);
    ApplyStackingOrder();
    AcceptDropsOn(kDropTargets);

    modes_.SetOptions({Control(kOpDelFale), Control(kGetFile)});
    units_.SetOptions({Control(kOkbs), Control(kOption3)});
    navigation().AddOptionGroup(modes_);
    navigation().AddOptionGroup(units_);
    UpdateTabOrder();
    // The start button reads 停止 after the first click of a double click: the second click
    // belongs to the first and must not stop what it started (nor start again what it stopped).
    startButtonDoubleClicks_.Attach(Control(kCommand2), [](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != WM_LBUTTONDBLCLK) return false;
        result = 0;
        return true;
    });
}

void MainF::ConnectEvents() {
    for (ControlId option : {kOpDelFale, kGetFile, kOkbs, kOption3})
        Events(option).Click = [this, option] { OptionClicked(option); };
    Events(kCmdFile).Click = [this] { cmdFile_Click(); };
    Events(kCmdOpsee).Click = [this] { cmdOpsee_Click(); };
    Events(kCommand1).Click = [this] { Command1_Click(); };
    Events(kCommand2).Click = [this] { Command2_Click(); };
    Events(kCommand3).Click = [this] { Command3_Click(); };
    Events(kCommand4).Click = [this] { Command4_Click(); };
    Events(kCommand5).Click = [this] { Command5_Click(); };
    Events(kTQueries).Click = [this] { tQueries_Click(); };
    Events(kDels).Click = [this] { Dels_Click(); };
    Events(kClse).Click = [this] { Clse_Click(); };
    // Only digits reach the size field, typed or pasted.
    Events(kText2).KeyPress = [this](short& keyAscii) { Text2_KeyPress(keyAscii); };
    Events(kText2).Paste = [this] { Text2_Paste(); };
    Events(kText2).Change = [this] { Text2_Change(); };
    chkSets_.Click = [this] { ChkSets_Click(); };
    chkAdd_.Click = [this] { chkAdd_Click(); };
    autosets_.Click = [this] { Autosets_Click(); };
    autoQto_.Click = [this] { AutoQto_Click(); };
    combo1_->MouseDown = [this](short& button, short& shift, float& x, float& y) {
        Combo1_MouseDown(button, shift, x, y);
    };
    picture1_.LabelClicked = [this] { Label1_Click(); };
    OnFilesDropped = [this](HDROP drop) { FilesDropped(drop); };
}

// Top to bottom, left to right as the window reads; in list mode the list stands where the
// source field is.
void MainF::UpdateTabOrder() {
    const bool listShown = combo1_ && Selected(kGetFile) && chkAdd_.Value() != 0;
    const int order[] = {kOpDelFale, kGetFile,  kCommand1, kCommand4, listShown ? kCombo1 : kTxtPsd,
                         kCmdFile,   kText1,    kCmdOpsee, kText2,    kOkbs,
                         kOption3,   kCommand2, kCommand3, kTQueries, kChkSets,
                         kChkAdd,    kAutosets, kAutoQto,  kCommand5};
    SetTabOrder(order);
}

void MainF::ApplyStackingOrder() {
    // Sending each to the bottom in turn leaves the first on top.
    for (ControlId id : kStackingOrder)
        SetWindowPos(Control(id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

controls::CheckBox& MainF::OptionBox(ControlId id) {
    switch (id) {
    case kChkSets: return chkSets_;
    case kChkAdd: return chkAdd_;
    case kAutosets: return autosets_;
    default: return autoQto_;
    }
}

}  // namespace quilvane::app
