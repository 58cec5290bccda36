// Start-up: the program folder, the main window, a path from the command line, then the
// message loop until no window is left.

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <string>

#include "command_line.h"
#include "dialogs.h"
#include "main_window.h"
#include "settings.h"

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

    const std::string path = quilvane::shell::CommandLinePath(GetCommandLineW());
    if (!path.empty()) mainF.GetDates(path);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    OleUninitialize();
    return 0;
}
