#pragma once
// Puts a handler in front of an existing window's procedure (a platform edit or combo box),
// for as long as the Subclass object lives.

#include <windows.h>

#include <functional>

namespace quilvane::ui {

class Subclass {
public:
    // Returns true when it handled the message; `result` is then what the window returns.
    using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

    Subclass() = default;
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;
    ~Subclass() { Detach(); }

    void Attach(HWND window, Handler handler);
    void Detach();
    bool attached() const { return window_ != nullptr; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);
    HWND window_ = nullptr;
    Handler handler_;
};

}  // namespace quilvane::ui
