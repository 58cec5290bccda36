#include "main_window.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdlib>

#include "about_window.h"
#include "message_loop.h"
#include "paths.h"
#include "resource_ids.h"
#include "utf16.h"

namespace quilvane::app {
namespace {

constexpr const char* kAllFilesFilter = "所有文件(*.*)|*.*";
constexpr const char* kDescriptorFilter = "准备合并文件(*.hpe)|*.hpe";

// Stored options are whole numbers; anything else counts as 0.
std::int32_t WholeNumber(const std::string& text) {
    return static_cast<std::int32_t>(std::strtol(text.c_str(), nullptr, 10));
}

// A box's Click comes before its value changes; what is stored is the value it takes.
std::string SettingOf(std::int32_t valueBeforeClick) {
    return std::to_string(controls::CheckBox::ValueAfterClick(valueBeforeClick));
}

}  // namespace

MainF::MainF(shell::Dialogs& dialogs, std::string appDir)
    : dialogs_(dialogs), appDir_(std::move(appDir)), settings_(appDir_) {}

MainF::~MainF() = default;

bool MainF::Create() {
    if (!CreateForm(kMainWindowForm)) return false;
    loaded_.Load();
    CreateControls(kMainWindowDesign);
    ArrangeControls();
    ConnectEvents();
    Form_Load();
    return true;
}

void MainF::Form_Load() {
    se_.ApplyTo(hwnd());
    combo1_->SetPopNo();
    chkSets_.SetValue(WholeNumber(settings_.Read("Main", "SetBat")));
    chkAdd_.SetValue(WholeNumber(settings_.Read("main", "SetAdd")));
    autosets_.SetValue(WholeNumber(settings_.Read("main", "SetGet")));
    autoQto_.SetValue(WholeNumber(settings_.Read("main", "QutoEt")));
    modes_.Select(Control(kOpDelFale));
    units_.Select(Control(kOkbs));
    opDelFale_Click();
}

void MainF::Form_Unload() {
    se_.Release(hwnd());
    if (setClses_) setClses_->OutliveMainWindow();
    loaded_.Unload();
}

LRESULT MainF::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: Command3_Click(); return 0;
    case WM_DESTROY: Form_Unload(); return 0;
    case WM_ENDSESSION:  // the session ends: a task under way stops and cleans up first
        if (wParam) task_.StopAndWait();
        return 0;
    case TaskThread::kProgressMessage: SetProgress(task_.TakeProgress()); return 0;
    case kTaskEndedMessage: TaskEnded(); return 0;
    default: return Form::OnMessage(message, wParam, lParam);
    }
}

bool MainF::Selected(ControlId option) const { return SendMessageW(Control(option), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void MainF::OptionClicked(ControlId option) {
    ui::OptionGroup& group = option == kOpDelFale || option == kGetFile ? modes_ : units_;
    const HWND clicked = Control(option);
    if (group.Selected() == clicked) return;
    group.Select(clicked);
    if (option == kOpDelFale) opDelFale_Click();
    if (option == kGetFile) GetFile_Click();
}

void MainF::opDelFale_Click() {
    EnableSizeFields(true);
    ShowFileList(chkAdd_.Value() != 0);
}

void MainF::GetFile_Click() {
    EnableSizeFields(false);
    SetTextOf(kTxtPsd, "");
    ShowFileList(chkAdd_.Value() != 0);
}

// A merge has no piece size.
void MainF::EnableSizeFields(bool enable) {
    for (ControlId id : {kText2, kOkbs, kOption3}) EnableWindow(Control(id), enable);
}

void MainF::ShowFileList(bool flag) {
    if (flag && Selected(kGetFile)) {
        SetWindowPos(combo1_->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    } else {
        SetWindowPos(combo1_->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        combo1_->Clear();
    }
    UpdateTabOrder();
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void MainF::cmdFile_Click() {
    const bool multi = chkAdd_.Value() == 1 && Selected(kGetFile);
    const char* filter = (chkAdd_.Value() != 0 || Selected(kOpDelFale)) ? kAllFilesFilter : kDescriptorFilter;
    const std::string chosen = dialogs_.PickFile(filter, "打开文件", multi);
    if (chosen.empty()) return;
    if (!multi) return GetDates(chosen);
    for (std::size_t start = 0; start <= chosen.size();) {
        const std::size_t end = std::min(chosen.find('\0', start), chosen.size());
        const std::string path = chosen.substr(start, end - start);
        start = end + 1;
        if (path.empty()) continue;
        combo1_->AddItem(Widen(path));
        if (combo1_->ListCount() == 1) {
            combo1_->SetText(Widen(path));
            if (autosets_.Value() != 0) SetTextOf(kText1, FolderOf(path));
        }
    }
}

void MainF::cmdOpsee_Click() {
    const std::string folder = dialogs_.PickFolder("选择文件夹", hwnd());
    if (!folder.empty()) SetTextOf(kText1, folder);
}

void MainF::GetDates(const std::string& path) {
    SetTextOf(kTxtPsd, path);
    if (autosets_.Value() != 0) SetTextOf(kText1, FolderOf(path));
}

void MainF::FilesDropped(HDROP drop) {
    // Only the first of several dropped files counts; a drop without files does nothing, and
    // so does a drop while a task runs, whose source stays as it was taken.
    if (!task_.Running() && DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        std::wstring path(DragQueryFileW(drop, 0, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, 0, path.data(), static_cast<UINT>(path.size())));
        GetDates(Narrow(path));
    }
}

void MainF::Text2_KeyPress(short& keyAscii) {
    // Digits and Backspace; Ctrl+C, Ctrl+V and Ctrl+X type nothing and keep the clipboard
    // working (a paste keeps only its digits).
    constexpr short kCopy = 3, kPaste = 22, kCut = 24;
    const bool passes = (keyAscii >= '0' && keyAscii <= '9') || keyAscii == 8 || keyAscii == kCopy ||
                        keyAscii == kPaste || keyAscii == kCut;
    if (!passes) keyAscii = 0;
}

void MainF::Text2_Paste() {
    std::wstring digits;
    {
        const ui::ClipboardScope clipboard(hwnd());
        if (!clipboard.opened()) return;
        const ui::LockedMemory data(GetClipboardData(CF_UNICODETEXT));
        if (const auto* text = static_cast<const wchar_t*>(data.get()))
            for (; *text; ++text)
                if (*text >= L'0' && *text <= L'9') digits += *text;
    }
    SendMessageW(Control(kText2), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()));
}

void MainF::Text2_Change() {
    if (GetWindowTextLengthW(Control(kText2)) != 0) return;
    SetTextOf(kText2, "0");
    // Selected, so the next digit typed replaces it instead of standing before it.
    SendMessageW(Control(kText2), EM_SETSEL, 0, -1);
}

void MainF::tQueries_Click() {
    RECT outer{};
    GetWindowRect(hwnd(), &outer);
    const bool collapsed = outer.bottom - outer.top == Pixels(kCollapsedHeight);
    SetWindowTextW(Control(kTQueries), collapsed ? L"缩回 >>" : L"展开 <<");
    SetWindowPos(hwnd(), nullptr, 0, 0, outer.right - outer.left,
                 Pixels(collapsed ? kExpandedHeight : kCollapsedHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainF::Combo1_MouseDown(short& button, short&, float&, float&) {
    if (button != 2) return;
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(listMenu_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
}

void MainF::Dels_Click() {
    if (combo1_->ListIndex() != -1) combo1_->RemoveItem(combo1_->ListIndex());
}

void MainF::Clse_Click() { combo1_->Clear(); }

void MainF::ChkSets_Click() {
    settings_.Write("main", "SetBat", SettingOf(chkSets_.Value()));
    // A split under way reads the option again once its copy has finished.
    task_.SetWritesBatchFile(controls::CheckBox::ValueAfterClick(chkSets_.Value()) != 0);
}

void MainF::chkAdd_Click() {
    settings_.Write("main", "Setadd", SettingOf(chkAdd_.Value()));
    ShowFileList(controls::CheckBox::ValueAfterClick(chkAdd_.Value()) != 0);
}

void MainF::Autosets_Click() { settings_.Write("main", "SetGet", SettingOf(autosets_.Value())); }

void MainF::AutoQto_Click() { settings_.Write("main", "QutoEt", SettingOf(autoQto_.Value())); }

void MainF::Command1_Click() {
    // After its title bar's close the scheduler is gone with its task; the next one is new.
    if (!setClses_ || !setClses_->hwnd()) {
        setClses_ = std::make_unique<power::SetClses>(se_, dialogs_, hwnd(), power::InstalledPowerOperations());
        if (!setClses_->Create()) return;
        // A power action does not wait for a copy: the task stops and cleans up first.
        setClses_->BeforePowerAction = [this] { task_.StopAndWait(); };
    }
    ShowOwned(setClses_->hwnd());
}

void MainF::Command4_Click() {
    // One e-mail window at a time, loaded afresh each time it opens.
    if (emlssea_) return;
    emlssea_ = std::make_unique<mail::Emlssea>(se_, dialogs_, settings_, mail::InstalledMailServices());
    if (emlssea_->Create(hwnd())) ShowOwned(emlssea_->hwnd());
    emlssea_.reset();
}

void MainF::Command5_Click() { dialogs_.OpenWithShell(appDir_ + "help.chm", "", SW_SHOWNORMAL); }

void MainF::Label1_Click() {
    // A new About window for each opening, shown modally until it closes.
    if (frmUseset_) return;
    frmUseset_ = std::make_unique<about::frmUseset>(se_, dialogs_, hwnd());
    if (frmUseset_->Create()) ShowOwned(frmUseset_->hwnd());
    frmUseset_.reset();
}

}  // namespace quilvane::app
