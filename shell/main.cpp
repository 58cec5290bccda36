// Start-up: the program folder, the main window, a path from the command line, then the
// message loop until no window is left.

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <string>

#include "dialogs.h"
#include "main_window.h"
#include "settings.h"
#include "utf16.h"

namespace {

// Everything after the program's own name, as the system hands it over.
std::wstring ArgumentText() {
    const wchar_t* line = GetCommandLineW();
    bool quoted = false;
    while (*line && (quoted || (*line != L' ' && *line != L'\t'))) {
        if (*line == L'"') quoted = !quoted;
        ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    OleInitialize(nullptr);  // the folder browser's new style needs it
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    quilvane::shell::SystemDialogs dialogs;
    quilvane::shell::MainF mainF(dialogs, quilvane::shell::ExecutableFolder());
    if (!mainF.Create()) return 1;
    dialogs.SetMainWindow(mainF.hwnd());
    mainF.Unloaded = [] { PostQuitMessage(0); };
    ShowWindow(mainF.hwnd(), show);
    UpdateWindow(mainF.hwnd());

    // The whole argument text is one path; every double quote goes, nothing else is parsed.
    std::wstring path = ArgumentText();
    path.erase(std::remove(path.begin(), path.end(), L'"'), path.end());
    if (!path.empty()) mainF.GetDates(quilvane::Narrow(path));

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    OleUninitialize();
    return 0;
}
