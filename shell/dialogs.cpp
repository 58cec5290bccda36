#include "dialogs.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "owned.h"
#include "paths.h"
#include "utf16.h"

namespace quilvane::shell {
namespace {

// Room for a few thousand chosen files; the platform's 260 would make a larger selection fail.
constexpr std::size_t kSelectionBuffer = 1 << 20;

inline void FreeTaskMemory(void* memory) { CoTaskMemFree(memory); }
// What the shell allocates for its caller with the task allocator: here, item lists.
template <class Object>
using TaskMemory = Owned<Object*, FreeTaskMemory>;

}  // namespace

std::string JoinSelection(const std::wstring& folderThenNames) {
    std::vector<std::wstring> parts;
    for (std::size_t start = 0; start < folderThenNames.size();) {
        const std::size_t end = folderThenNames.find(L'\0', start);
        const std::size_t stop = end == std::wstring::npos ? folderThenNames.size() : end;
        if (stop > start) parts.push_back(folderThenNames.substr(start, stop - start));
        start = stop + 1;
    }
    if (parts.size() == 1) return Narrow(parts[0]);
    std::string joined;
    // A drive root already ends in "\"; a second one would make every path odd.
    const std::string folder = EnsureTrailingSlash(parts.empty() ? std::string() : Narrow(parts[0]));
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (i > 1) joined += '\0';
        joined += folder + Narrow(parts[i]);
    }
    return joined;
}

std::string SystemDialogs::PickFile(const std::string& filter, const std::string& title, bool allowMany) {
    std::wstring filterText = Widen(filter);
    for (wchar_t& c : filterText)
        if (c == L'|') c = L'\0';
    filterText.append(2, L'\0');
    const std::wstring titleText = Widen(title);
    std::vector<wchar_t> buffer(kSelectionBuffer, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.lpstrFilter = filterText.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = titleText.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_CREATEPROMPT | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT |
                   (allowMany ? OFN_ALLOWMULTISELECT : 0);
    if (GetOpenFileNameW(&dialog) != TRUE) return {};

    // The selection ends at the first pair of NUL characters.
    std::size_t length = 0;
    while (length + 1 < buffer.size() && !(buffer[length] == L'\0' && buffer[length + 1] == L'\0')) ++length;
    const std::wstring selection(buffer.data(), length);
    return allowMany ? JoinSelection(selection) : Narrow(selection.c_str());
}

std::string SystemDialogs::PickFolder(const std::string& title, HWND owner) {
    PIDLIST_ABSOLUTE computer = nullptr;
    SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, &computer);
    const TaskMemory<ITEMIDLIST> drives(computer);
    const std::wstring titleText = Widen(title);
    BROWSEINFOW browse{};
    browse.hwndOwner = owner;
    browse.pidlRoot = drives.get();
    browse.lpszTitle = titleText.c_str();
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    const TaskMemory<ITEMIDLIST> chosen(SHBrowseForFolderW(&browse));
    if (!chosen) return {};
    wchar_t path[MAX_PATH + 1] = {};
    if (!SHGetPathFromIDListW(chosen.get(), path)) return {};
    return EnsureTrailingSlash(Narrow(path));
}

void SystemDialogs::OpenWithShell(const std::string& file, const std::string& parameters, int showCommand) {
    ShellExecuteW(mainWindow_, L"open", Widen(file).c_str(), Widen(parameters).c_str(), L"", showCommand);
}

int ShowNoticeOver(Dialogs& dialogs, HWND window, const std::string& text, int style) {
    const bool wasEnabled = !EnableWindow(window, FALSE);
    const int pressed = dialogs.ShowNotice(text, style);
    if (!wasEnabled) return pressed;
    EnableWindow(window, TRUE);
    SetActiveWindow(window);
    return pressed;
}

int SystemDialogs::ShowNotice(const std::string& text, int style) {
    return MessageBoxW(mainWindow_, Widen(text).c_str(), L"提示", static_cast<UINT>(style));
}

}  // namespace quilvane::shell
