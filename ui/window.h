#pragma once
// The base of every window and custom control: registers the window class, ties the C++
// object to its window and routes messages to OnMessage. No exception leaves a window
// procedure: the router catches it and tells the user.

#include <windows.h>

#include <string>

namespace quilvane::ui {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    // Destroys the window if it still exists.
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }

protected:
    // A derived window calls this in its own destructor: the base's comes too late for it.
    void DestroyWhileHandlersLive() {
        if (hwnd_) DestroyWindow(hwnd_);
    }

    struct CreateArgs {
        const wchar_t* className = nullptr;
        const wchar_t* title = L"";
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = 0;
        int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = CW_USEDEFAULT, height = CW_USEDEFAULT;
        HWND parent = nullptr;
        int id = 0;  // child windows only
        UINT classStyle = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        HICON icon = nullptr;
        HCURSOR cursor = LoadCursorW(nullptr, IDC_ARROW);

        // A visible child of `parent` at `place`, in the parent's client pixels.
        static CreateArgs Child(const wchar_t* className, HWND parent, int id, const RECT& place) {
            CreateArgs args;
            args.className = className;
            args.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
            args.x = place.left;
            args.y = place.top;
            args.width = place.right - place.left;
            args.height = place.bottom - place.top;
            args.parent = parent;
            args.id = id;
            return args;
        }
    };
    // Registers the class on its first use and creates the window; false when it failed.
    bool Create(const CreateArgs& args);

    // Handles one message; the default passes it to DefWindowProc.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(hwnd_, message, wParam, lParam);
    }

private:
    static LRESULT CALLBACK Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// What an unexpected failure is told with, before its reason.
inline constexpr const char* kUnexpectedFailure = "程序遇到意外错误：";

// Shows an unexpected failure inside a window procedure; the program goes on.
void ReportUnexpected(HWND owner, const char* what);

}  // namespace quilvane::ui
