#include "window.h"

#include "guarded.h"
#include "utf16.h"

namespace quilvane::ui {

Window::~Window() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::Create(const CreateArgs& args) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(instance, args.className, &existing)) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = args.classStyle;
        windowClass.lpfnWndProc = Route;
        windowClass.hInstance = instance;
        windowClass.hIcon = args.icon;
        windowClass.hCursor = args.cursor;
        windowClass.hbrBackground = args.background;
        windowClass.lpszClassName = args.className;
        if (!RegisterClassExW(&windowClass)) return false;
    }
    CreateWindowExW(args.exStyle, args.className, args.title, args.style, args.x, args.y, args.width, args.height,
                    args.parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)), instance, this);
    return hwnd_ != nullptr;
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CALLBACK Window::Route(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    // A modal loop waiting for this window to go away is woken up (see ShowModal).
    if ((message == WM_SHOWWINDOW && !wParam) || message == WM_DESTROY)
        if (!(GetWindowLongW(window, GWL_STYLE) & WS_CHILD)) PostMessageW(nullptr, WM_NULL, 0, 0);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return Guarded([&] { return self->OnMessage(message, wParam, lParam); },
                   [&](const char* what) {
                       ReportUnexpected(window, what);
                       return LRESULT{0};
                   });
}

void ReportUnexpected(HWND owner, const char* what) {
    const std::wstring text = Widen(std::string(kUnexpectedFailure) + what);
    MessageBoxW(owner, text.c_str(), L"提示", MB_OK | MB_ICONERROR);
}

}  // namespace quilvane::ui
