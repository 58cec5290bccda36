#pragma once
// The dialogs and shell calls every window uses. Windows reach them through this interface,
// so tests can stand in for the modal ones; the program itself always uses SystemDialogs.

#include <windows.h>

#include <string>

namespace quilvane::shell {

inline constexpr int kNoticeStyle = MB_OK | MB_ICONINFORMATION;  // 64

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The open-file dialog with a "|"-separated filter. "" when cancelled; with allowMany one or
    // more full paths separated by NUL characters.
    virtual std::string PickFile(const std::string& filter, const std::string& title, bool allowMany) = 0;
    // The folder browser over the computer's drives; "" when cancelled, else a path ending in "\".
    virtual std::string PickFolder(const std::string& title, HWND owner) = 0;
    // Asks the shell to open a file; what happens then is not followed.
    virtual void OpenWithShell(const std::string& file, const std::string& parameters, int showCommand) = 0;
    // A modal message box titled "提示"; returns the button pressed.
    virtual int ShowNotice(const std::string& text, int style) = 0;
};

class SystemDialogs final : public Dialogs {
public:
    // Shell calls are made on behalf of the main window, whoever asks.
    void SetMainWindow(HWND window) { mainWindow_ = window; }

    std::string PickFile(const std::string& filter, const std::string& title, bool allowMany) override;
    std::string PickFolder(const std::string& title, HWND owner) override;
    void OpenWithShell(const std::string& file, const std::string& parameters, int showCommand) override;
    int ShowNotice(const std::string& text, int style) override;

private:
    HWND mainWindow_ = nullptr;
};

// A notice (or, with another style, a question) that belongs to `window`: the window takes
// no clicks until it is answered, then becomes the active window again. Returns the button.
int ShowNoticeOver(Dialogs& dialogs, HWND window, const std::string& text, int style = kNoticeStyle);

// The paths of a multiple selection: the folder comes first, then the bare names; a single
// entry is already a full path.
std::string JoinSelection(const std::wstring& folderThenNames);

}  // namespace quilvane::shell
