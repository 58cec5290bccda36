#pragma once
// The e-mail window under test, driven through window messages, with stand-ins for the modal
// dialogs, the sending and the password protection.

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <deque>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "emlssea.h"
#include "test_support.h"
#include "twips.h"
#include "utf16.h"

namespace quilvane::mail {

// Answers the file dialog from a queue and questions with `questionAnswer`; records every notice.
class StandInDialogs final : public shell::Dialogs {
public:
    std::deque<std::string> answers;
    std::vector<std::string> notices;
    std::vector<std::string> requests;  // "filter|title|many" of each file dialog
    std::vector<std::string> questions;
    int questionAnswer = IDNO;
    DWORD questionThread = 0;

    std::string PickFile(const std::string& filter, const std::string& title, bool allowMany) override {
        requests.push_back(filter + "|" + title + "|" + (allowMany ? "many" : "one"));
        if (answers.empty()) return {};
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::string PickFolder(const std::string&, HWND) override { return {}; }
    void OpenWithShell(const std::string&, const std::string&, int) override {}
    int ShowNotice(const std::string& text, int style) override {
        if (style == 64) {
            notices.push_back(text);
            return IDOK;
        }
        EXPECT_EQ(style, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) << "a question, 否 unless 是 is picked";
        questions.push_back(text);
        questionThread = GetCurrentThreadId();
        return questionAnswer;
    }
};

// Records what it is asked to send; can hold the send until told to let it go, then ask
// whether the password may go in clear, or fail as nothing should.
class RecordingSubmitter final : public MailSubmitter {
public:
    Status result = Status::Ok();
    std::vector<MailRequest> requests;
    std::atomic<int> calls{0};
    HANDLE release = nullptr;  // when set, each send waits for it
    bool asksForPlainLogin = false;
    bool throwsNoException = false;  // throws what no catch of std::exception takes

    Status Submit(const MailRequest& request, const PlainLoginConsent& allowPlainLogin) override {
        ++calls;
        requests.push_back(request);
        if (release) WaitForSingleObject(release, 20000);
        if (asksForPlainLogin && !allowPlainLogin("smtp.example.test:25")) return Status::Fail("not allowed");
        if (throwsNoException) throw 42;
        return result;
    }
};

// Seals by reversing the bytes behind a tag; or cannot seal at all.
class StandInVault final : public PasswordVault {
public:
    bool available = true;
    std::optional<std::string> Seal(const std::string& secret) override {
        if (!available) return std::nullopt;
        return "sealed:" + std::string(secret.rbegin(), secret.rend());
    }
    std::optional<std::string> Open(const std::string& sealed) override {
        if (sealed.rfind("sealed:", 0) != 0) return std::nullopt;
        return std::string(sealed.rbegin(), sealed.rend() - 7);
    }
};

struct MailWindow : ::testing::Test {
    quilvane::testing::TempFolder app;
    StandInDialogs dialogs;
    RecordingSubmitter submitter;
    StandInVault vault;
    MailServices services{submitter, vault};
    shell::Skin se;
    std::unique_ptr<Emlssea> window;

    void Open(const std::string& settings = "") {
        if (!settings.empty()) quilvane::testing::WriteFile(app / "Sysset.ini", settings);
        window = std::make_unique<Emlssea>(se, dialogs, shell::Settings(app.Path()), services);
        ASSERT_TRUE(window->Create(nullptr));
    }
    void Reopen() {
        window.reset();
        Open();
    }
    HWND Control(ControlId id) { return window->Control(id); }
    std::string Text(ControlId id) {
        if (id == kCombo1) return Narrow(window->SmtpList().Text());
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(Control(id))) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(Control(id), text.data(), static_cast<int>(text.size()))));
        return Narrow(text);
    }
    void SetText(ControlId id, const std::string& text) {
        if (id == kCombo1) return window->SmtpList().SetText(Widen(text));
        SetWindowTextW(Control(id), Widen(text).c_str());
    }
    void Click(ControlId id) { SendMessageW(Control(id), BM_CLICK, 0, 0); }
    // The client area holds the whole design.
    void ExpectWholeDesignFits() {
        RECT client{};
        GetClientRect(window->hwnd(), &client);
        EXPECT_EQ(client.bottom, ui::TwipsToPixels(kDesignClientHeight, ui::ScreenDpi()));
        EXPECT_EQ(client.right, ui::TwipsToPixels(kDesignClientWidth, ui::ScreenDpi()));
    }
    std::string StoredValue(const std::string& key) {
        // The raw line, as another program would see it.
        const std::string file = quilvane::testing::ReadFile(app / "Sysset.ini");
        const std::size_t at = file.find("\n" + key + "=");
        if (at == std::string::npos) return "<missing>";
        const std::size_t start = at + key.size() + 2;
        return file.substr(start, file.find_first_of("\r\n", start) - start);
    }
    void FillEveryField() {
        SetText(kText1, "li@example.test; wang@example.test");
        SetText(kText2, "zhang@example.test");
        SetText(kText3, "zhang");
        SetText(kText4, "秘密 pass\\word");
        SetText(kText5, "分块 第1部分");
        SetText(kText6, "第一行\r\n\r\n.第三行以点开头\r\n  缩进的最后一行  ");
        SetText(kText7, "C:\\out\\movie.001.pe");
        SetText(kCombo1, "smtp.example.test:587");
    }
};

}  // namespace quilvane::mail
