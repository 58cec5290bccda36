// Building the main window's controls from its design table.

#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <algorithm>

#include "main_window.h"
#include "resource_ids.h"
#include "scaled_picture.h"
#include "utf16.h"

namespace quilvane::app {
void MainF::CreateControls() {
    hfont_ = ui::MakeFont(*font_, dpi_);
    for (const ControlDesign& design : kMainWindowDesign) {
        const HWND container = design.container == kWindow ? hwnd() : controls_.at(design.container);
        const RECT place = design.place.ToPixels(dpi_);
        switch (design.kind) {
        case ControlKind::Frame:
        case ControlKind::BorderedFrame: {
            ui::Frame& frame = design.id == kFrame1 ? frame1_ : frame2_;
            frame.Create(container, design.id, place, design.kind == ControlKind::BorderedFrame);
            controls_[design.id] = frame.hwnd();
            break;
        }
        case ControlKind::CheckBox:
            CreateOptionBox(OptionBox(design.id), design, container,
                            FittingCaption(place, Pixels(controls::CheckBox::kCaptionLeftTwips), design.caption));
            break;
        case ControlKind::DropDownList:
            combo1_ = std::make_unique<controls::DropDownList>(container, place, design.id, font_);
            combo1_->MouseDown = [this](short& button, short& shift, float& x, float& y) {
                Combo1_MouseDown(button, shift, x, y);
            };
            controls_[design.id] = combo1_->hwnd();
            break;
        case ControlKind::ContactStrip: {
            contactPicture_ = ui::LoadScaledPicture(IDB_CONTACT_STRIP, dpi_);
            const RECT label = kContactLabelPlace.ToPixels(dpi_);
            picture1_.Create(container, design.id, FittingCaption(place, label.left, kContactCaption), label,
                             kContactCaption, hfont_.get(), contactPicture_.get());
            picture1_.LabelClicked = [this] { Label1_Click(); };
            controls_[design.id] = picture1_.hwnd();
            break;
        }
        default: controls_[design.id] = CreateStandardControl(design, container, place);
        }
    }
    for (ControlId target : kDropTargets) ListenForDrops(controls_.at(target));
    DragAcceptFiles(hwnd(), TRUE);

    // Only digits reach the size field, typed or pasted.
    auto& sizeField = subclasses_.emplace_back(std::make_unique<ui::Subclass>());
    sizeField->Attach(controls_.at(kText2), [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message == WM_PASTE) {
            Text2_Paste();
            result = 0;
            return true;
        }
        if (message != WM_CHAR) return false;
        short keyAscii = static_cast<short>(wParam);
        Text2_KeyPress(keyAscii);
        if (keyAscii != 0) return false;
        result = 0;
        return true;
    });

    listMenu_.Reset(CreatePopupMenu());
    AppendMenuW(listMenu_.get(), MF_STRING, kDels, L"删除当前行");
    AppendMenuW(listMenu_.get(), MF_STRING, kClse, L"清空列表");
    SendMessageW(controls_.at(kP1), PBM_SETRANGE32, 0, 100);
    ApplyStackingOrder();

    modes_.SetOptions({controls_.at(kOpDelFale), controls_.at(kGetFile)});
    units_.SetOptions({controls_.at(kOkbs), controls_.at(kOption3)});
    navigation_.Attach(hwnd());
    navigation_.AddOptionGroup(modes_);
    navigation_.AddOptionGroup(units_);
    UpdateTabOrder();
}

// Top to bottom, left to right as the window reads; in list mode the list stands where the
// source field is.
void MainF::UpdateTabOrder() {
    const bool listShown = combo1_ && Selected(kGetFile) && chkAdd_.Value() != 0;
    std::vector<HWND> order;
    for (ControlId id :
         {kOpDelFale, kGetFile, kCommand1, kCommand4, listShown ? kCombo1 : kTxtPsd, kCmdFile, kText1, kCmdOpsee,
          kText2, kOkbs, kOption3, kCommand2, kCommand3, kTQueries, kChkSets, kChkAdd, kAutosets, kAutoQto, kCommand5})
        order.push_back(controls_.at(id));
    navigation_.SetTabOrder(std::move(order));
}

HWND MainF::CreateStandardControl(const ControlDesign& design, HWND container, const RECT& place) {
    const wchar_t* windowClass = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (design.kind) {
    case ControlKind::Option:
        // Plain radio buttons: the window groups them itself (split or merge, KB or MB),
        // whatever the stacking order.
        style |= BS_RADIOBUTTON | WS_TABSTOP;
        break;
    case ControlKind::Button: style |= BS_PUSHBUTTON | WS_TABSTOP; break;
    case ControlKind::Label:
        windowClass = L"STATIC";
        style |= SS_LEFT | SS_NOPREFIX;
        break;
    case ControlKind::Edit:
    case ControlKind::ReadOnlyEdit:
        windowClass = L"EDIT";
        style |= ES_AUTOHSCROLL | WS_TABSTOP | (design.kind == ControlKind::ReadOnlyEdit ? ES_READONLY : 0);
        exStyle = WS_EX_CLIENTEDGE;
        break;
    default:  // the progress bar
        windowClass = PROGRESS_CLASSW;
        break;
    }
    const RECT fitted = design.kind == ControlKind::Label ? FittingCaption(place, 0, design.caption) : place;
    HWND control =
        CreateWindowExW(exStyle, windowClass, design.caption, style, fitted.left, fitted.top,
                        fitted.right - fitted.left, fitted.bottom - fitted.top, container,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(hfont_.get()), FALSE);
    // Paths and sizes are typed in Latin letters and digits: no input method.
    if (design.kind == ControlKind::Edit || design.kind == ControlKind::ReadOnlyEdit)
        ImmAssociateContextEx(control, nullptr, 0);
    return control;
}

// A caption is never cut: where the window's font is wider than the design allowed (at some
// screen scales it is), its place grows to the right.
RECT MainF::FittingCaption(RECT place, int captionLeft, const wchar_t* caption) const {
    const LONG needed = place.left + captionLeft + ui::TextExtent(hfont_.get(), caption).cx;
    place.right = std::max(place.right, needed);
    return place;
}

void MainF::CreateOptionBox(controls::CheckBox& box, const ControlDesign& design, HWND container, const RECT& place) {
    const std::wstring name = Widen(design.name);
    box.Create(container, design.id, place, {name, font_});
    // The window's stored design: its caption and the shared font.
    ui::PropertyBag designBag;
    designBag.Write<std::wstring>("Caption", design.caption, name);
    box.ReadProperties(designBag);
    box.SetFont(font_);
    controls_[design.id] = box.hwnd();
    if (design.id == kChkSets) box.Click = [this] { ChkSets_Click(); };
    if (design.id == kChkAdd) box.Click = [this] { chkAdd_Click(); };
    if (design.id == kAutosets) box.Click = [this] { Autosets_Click(); };
    if (design.id == kAutoQto) box.Click = [this] { AutoQto_Click(); };
}

void MainF::ApplyStackingOrder() {
    // Sending each to the bottom in turn leaves the first on top.
    for (ControlId id : kStackingOrder)
        SetWindowPos(controls_.at(id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainF::ListenForDrops(HWND control) {
    DragAcceptFiles(control, TRUE);
    // Frames pass drops on to the window themselves; edits and buttons need a word.
    if (control == frame1_.hwnd() || control == frame2_.hwnd()) return;
    auto& subclass = subclasses_.emplace_back(std::make_unique<ui::Subclass>());
    subclass->Attach(control, [this](UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (message != WM_DROPFILES) return false;
        FilesDropped(reinterpret_cast<HDROP>(wParam));
        result = 0;
        return true;
    });
}

controls::CheckBox& MainF::OptionBox(ControlId id) {
    switch (id) {
    case kChkSets: return chkSets_;
    case kChkAdd: return chkAdd_;
    case kAutosets: return autosets_;
    default: return autoQto_;
    }
}

HWND MainF::Control(ControlId id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

}  // namespace quilvane::app
