#include "tour.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "utf16.h"

namespace quilvane::tours {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPollEvery{20};

struct Search {
    DWORD processId;
    std::function<bool(HWND)> matches;
    HWND found = nullptr;
};

BOOL CALLBACK Visit(HWND window, LPARAM state) {
    auto& search = *reinterpret_cast<Search*>(state);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search.processId || !IsWindowVisible(window) || !search.matches(window)) return TRUE;
    search.found = window;
    return FALSE;
}

HWND FindTopLevel(DWORD processId, const std::function<bool(HWND)>& matches) {
    Search search{processId, matches};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

void Send(std::vector<INPUT> inputs) { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); }

INPUT MouseInput(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void ButtonAt(POINT screen, DWORD down, DWORD up, int times) {
    MoveTo(screen);
    std::vector<INPUT> inputs;
    for (int i = 0; i < times; ++i) {
        inputs.push_back(MouseInput(down));
        inputs.push_back(MouseInput(up));
    }
    Send(inputs);
}

}  // namespace

std::string ProgramPath() {
    // The build tree lies on the drive that Wine maps to "/".
    std::string path = std::string("Z:") + QUILVANE_PROGRAM;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

Program::Program(const std::string& exePath, const std::string& appDir, const std::wstring& arguments) {
    const std::wstring folder = Widen(appDir);
    const std::wstring source = Widen(exePath);
    const std::wstring copy = folder + source.substr(source.find_last_of(L"\\/") + 1);
    if (!CopyFileW(source.c_str(), copy.c_str(), FALSE)) return;
    std::wstring commandLine = L"\"" + copy + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                   &process_);
}

Program::~Program() {
    if (!process_.hProcess) return;
    if (Running()) {
        while (HWND window = FindTopLevel(process_.dwProcessId, [](HWND) { return true; })) {
            PostMessageW(window, WM_CLOSE, 0, 0);
            if (!WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, std::chrono::seconds(5)))
                break;
        }
        if (!WaitForExit(std::chrono::seconds(10))) TerminateProcess(process_.hProcess, 1);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

bool Program::Running() const { return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

HWND Program::WaitForWindow(const std::wstring& title, std::chrono::milliseconds patience) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindTopLevel(process_.dwProcessId, [&](HWND window) { return TextOf(window) == title; });
            return found != nullptr;
        },
        patience);
    return found;
}

bool Program::WaitForExit(std::chrono::milliseconds patience) const {
    return process_.hProcess &&
           WaitForSingleObject(process_.hProcess, static_cast<DWORD>(patience.count())) == WAIT_OBJECT_0;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds patience) {
    const auto deadline = Clock::now() + patience;
    for (;;) {
        if (condition()) return true;
        if (Clock::now() > deadline) return false;
        std::this_thread::sleep_for(kPollEvery);
    }
}

POINT ScreenPointOf(HWND window, const ui::TwipsRect& designPlace) {
    const RECT place = designPlace.ToPixels(ui::ScreenDpi());
    POINT point{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    ClientToScreen(window, &point);
    return point;
}

POINT CentreOf(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    return POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

void MoveTo(POINT screen) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT move = MouseInput(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE);
    move.mi.dx = (screen.x * 65536 + width - 1) / width;
    move.mi.dy = (screen.y * 65536 + height - 1) / height;
    Send({move});
    // Absolute coordinates are rounded on the way; a last small move puts the pointer exactly.
    POINT at{};
    if (WaitUntil([&] { return GetCursorPos(&at) && at.x == screen.x && at.y == screen.y; },
                  std::chrono::milliseconds(200)))
        return;
    INPUT nudge = MouseInput(MOUSEEVENTF_MOVE);
    nudge.mi.dx = screen.x - at.x;
    nudge.mi.dy = screen.y - at.y;
    Send({nudge});
}

void Click(POINT screen) { ButtonAt(screen, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1); }
void RightClick(POINT screen) { ButtonAt(screen, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1); }
void DoubleClick(POINT screen) { ButtonAt(screen, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2); }

void BringToFront(HWND window) {
    WaitUntil(
        [&] {
            if (GetForegroundWindow() == window) return true;
            SetForegroundWindow(window);
            return false;
        },
        std::chrono::seconds(10));
    // Activation hands the focus to a control; a click sent before that may be undone by it.
    FocusReaches(window, std::chrono::seconds(10));
}

void TypeText(const std::wstring& text) {
    for (wchar_t character : text) {
        INPUT down{}, up{};
        down.type = up.type = INPUT_KEYBOARD;
        down.ki.wScan = up.ki.wScan = character;
        down.ki.dwFlags = KEYEVENTF_UNICODE;
        up.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        Send({down, up});
    }
}

void PressKey(WORD key, std::initializer_list<WORD> held) {
    std::vector<INPUT> inputs;
    for (WORD modifier : held) inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    for (auto modifier = held.end(); modifier != held.begin();) inputs.push_back(KeyInput(*--modifier, true));
    Send(inputs);
}

void PutOnClipboard(const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, std::chrono::seconds(5))) return;
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

std::wstring TextOf(HWND window) {
    // Asked of the control itself: another program's field keeps its text in the field.
    wchar_t text[4096] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied))
        return L"";
    return std::wstring(text, copied);
}

HWND FocusedIn(HWND window) {
    GUITHREADINFO thread{};
    thread.cbSize = sizeof thread;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) ? thread.hwndFocus : nullptr;
}

bool FocusReaches(HWND control, std::chrono::milliseconds patience) {
    return WaitUntil(
        [&] {
            const HWND focus = FocusedIn(control);
            return focus && (focus == control || IsChild(control, focus));
        },
        patience);
}

SIZE OuterSize(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    return SIZE{place.right - place.left, place.bottom - place.top};
}

HWND WaitForNotice(const Program& program, std::chrono::milliseconds patience) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindTopLevel(program.processId(),
                                 [](HWND window) { return ClassOf(window) == L"#32770" && TextOf(window) == L"提示"; });
            return found != nullptr;
        },
        patience);
    return found;
}

std::wstring NoticeText(HWND notice) {
    // The message is the box's one static text that is not the icon.
    std::wstring text;
    for (HWND child = GetWindow(notice, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ClassOf(child) == L"Static" && !(GetWindowLongW(child, GWL_STYLE) & SS_ICON)) text = TextOf(child);
    return text;
}

void CloseNotice(HWND notice, int button) {
    Click(CentreOf(GetDlgItem(notice, button)));
    WaitUntil([&] { return !IsWindow(notice) || !IsWindowVisible(notice); });
}

std::wstring TakeNotice(const Program& program, int button) {
    const HWND notice = WaitForNotice(program);
    if (!notice) return L"<no notice>";
    const std::wstring text = NoticeText(notice);
    CloseNotice(notice, button);
    return text;
}

ui::TwipsRect PlaceInWindow(std::span<const ui::ControlDesign> design, int id) {
    for (const ui::ControlDesign& control : design) {
        if (control.id != id) continue;
        ui::TwipsRect place = control.place;
        if (control.container != ui::kFormItself) {
            const ui::TwipsRect outer = PlaceInWindow(design, control.container);
            place.left += outer.left;
            place.top += outer.top;
        }
        return place;
    }
    ADD_FAILURE() << "no control " << id;
    return {};
}

}  // namespace quilvane::tours
