// Start-up: the program folder, the main window, a path from the command line, then the
// message loop until no form is loaded any more.

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <string>

#include "command_line.h"
#include "dialogs.h"
#include "form_lifetime.h"
#include "main_window.h"
#include "message_loop.h"
#include "settings.h"

namespace {

// OLE stays initialised for exactly as long as the program runs, whichever way it ends.
struct OleSession {
    OleSession() { OleInitialize(nullptr); }  // the folder browser's new style needs it
    ~OleSession() { OleUninitialize(); }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int show) {
    OleSession ole;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    quilvane::ui::WhenNoFormIsLoaded([] { PostQuitMessage(0); });

    quilvane::shell::SystemDialogs dialogs;
    quilvane::app::MainF mainF(dialogs, quilvane::shell::ExecutableFolder());
    if (!mainF.Create()) return 1;
    dialogs.SetMainWindow(mainF.hwnd());
    ShowWindow(mainF.hwnd(), show);
    UpdateWindow(mainF.hwnd());

    const std::string path = quilvane::shell::CommandLinePath(GetCommandLineW());
    if (!path.empty()) mainF.GetDates(path);

    return quilvane::ui::RunMessageLoop();
}
