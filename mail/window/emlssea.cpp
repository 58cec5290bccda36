#include "emlssea.h"

#include "background_work.h"
#include "mail_texts.h"
#include "resource_ids.h"
#include "utf16.h"

namespace quilvane::mail {
namespace {

constexpr const char* kAllFilesFilter = "所有文件(*.*)|*.*";
constexpr const char* kPasswordNotStored = "无法为当前用户加密保存密码，密码没有保存。其余信息已保存。";
constexpr int kQuestionStyle = MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2;  // 否 unless the user picks 是

// Sent by the sending thread: may the password go in clear to the server named by the
// std::string at lParam? The answer is IDYES or IDNO.
constexpr UINT kAskPlainLogin = WM_APP + 1;

// The send button reads "正在发送..." for the length of one send, however the send ends.
class SendingCaption {
public:
    explicit SendingCaption(HWND button) : button_(button) { SetWindowTextW(button_, kSendingCaption); }
    ~SendingCaption() { SetWindowTextW(button_, kSendCaption); }
    SendingCaption(const SendingCaption&) = delete;
    SendingCaption& operator=(const SendingCaption&) = delete;

private:
    HWND button_;
};

// The paths of a dialog's answer: one, or several separated by NUL characters.
std::vector<std::string> PathsOf(const std::string& chosen) {
    std::vector<std::string> paths;
    for (std::size_t start = 0; start <= chosen.size();) {
        const std::size_t end = std::min(chosen.find('\0', start), chosen.size());
        if (end > start) paths.push_back(chosen.substr(start, end - start));
        start = end + 1;
    }
    return paths;
}

std::wstring ListEntry(HWND list, int index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

}  // namespace

Emlssea::Emlssea(shell::Skin& se, shell::Dialogs& dialogs, const shell::Settings& settings, MailServices& services)
    : se_(se), dialogs_(dialogs), settingsFile_(settings.file()), services_(services) {}

Emlssea::~Emlssea() = default;

bool Emlssea::Create(HWND owner) {
    if (!CreateForm(kEmlsseaForm, owner, owner)) return false;
    loaded_.Load();
    CreateControls(kEmlsseaDesign);
    AddListTip();
    SetTabOrder(kTabOrder);
    ConnectEvents();
    Form_Load();
    return true;
}

void Emlssea::Form_Load() {
    se_.ApplyTo(hwnd());
    FillSmtpServers(*combo1_);
    SyncMailSettings(0);
}

void Emlssea::Form_Unload() { loaded_.Unload(); }

void Emlssea::FillSmtpServers(controls::DropDownList& list) {
    for (const wchar_t* server : kSmtpServers) list.AddItem(server);
}

LRESULT Emlssea::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        // A send under way finishes first; the window closes as soon as it has.
        if (sending_.MayCloseNow()) DestroyWindow(hwnd());
        return 0;
    case WM_DESTROY: Form_Unload(); return 0;
    case kAskPlainLogin: return AskPlainLogin(*reinterpret_cast<const std::string*>(lParam));
    default: return Form::OnMessage(message, wParam, lParam);
    }
}

MailFields Emlssea::ReadFields() const {
    return MailFields{TextOf(kText1), TextOf(kText2), TextOf(kText3), TextOf(kText4),
                      TextOf(kText5), TextOf(kText6), TextOf(kText7), Narrow(combo1_->Text())};
}

void Emlssea::ShowFields(const MailFields& fields) {
    SetTextOf(kText1, fields.recipient);
    SetTextOf(kText2, fields.sender);
    SetTextOf(kText3, fields.user);
    SetTextOf(kText4, fields.password);
    SetTextOf(kText5, fields.subject);
    SetTextOf(kText6, fields.body);
    SetTextOf(kText7, fields.attachmentPath);
    combo1_->SetText(Widen(fields.server));
}

void Emlssea::SyncMailSettings(short mode) {
    MailSettings settings(settingsFile_, services_.vault);
    if (mode == 0) return ShowFields(settings.Load());
    if (mode == -1) return ShowFields(MailFields{});
    if (!settings.Save(ReadFields()) && !services_.toldPasswordUnprotected) {
        services_.toldPasswordUnprotected = true;
        Notify(kPasswordNotStored);
    }
}

void Emlssea::Command1_Click() { SyncMailSettings(1); }

void Emlssea::Command2_Click() { SyncMailSettings(-1); }

void Emlssea::List1_DblClick() {
    SendMessageW(Control(kList1), LB_RESETCONTENT, 0, 0);
    FitListWidth();
}

std::vector<std::string> Emlssea::Attachments() const {
    std::vector<std::string> paths;
    const int count = static_cast<int>(SendMessageW(Control(kList1), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) paths.push_back(Narrow(ListEntry(Control(kList1), i)));
    return paths;
}

void Emlssea::tCommand1_Click() {
    const std::vector<std::string> paths = PathsOf(dialogs_.PickFile(kAllFilesFilter, "打开文件", true));
    if (paths.empty()) return;
    SetTextOf(kText7, paths.front());
    const int entriesBefore = static_cast<int>(SendMessageW(Control(kList1), LB_GETCOUNT, 0, 0));
    for (const std::string& path : paths) AddAttachment(path, entriesBefore);
    FitListWidth();
}

// A path already in the list (exactly, letter case included) is selected; another is added.
void Emlssea::AddAttachment(const std::string& path, int entriesBefore) {
    const HWND list = Control(kList1);
    const std::wstring wide = Widen(path);
    for (int i = 0; i < entriesBefore; ++i) {
        if (ListEntry(list, i) != wide) continue;
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(i), 0);
        return;
    }
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void Emlssea::cmdYesONo_Click() {
    if (sending_.Running()) return;
    MailRequest request;
    request.to = TextOf(kText1);
    request.from = TextOf(kText2);
    request.user = TextOf(kText3);
    request.password = TextOf(kText4);
    request.server = Narrow(combo1_->Text());
    request.subject = TextOf(kText5);
    request.body = TextOf(kText6);
    request.attachments = Attachments();
    MailSubmitter& submitter = services_.submitter;
    const HWND window = hwnd();
    // Asked on the window's thread, which keeps its messages flowing while the send runs.
    const PlainLoginConsent askUser = [window](const std::string& server) {
        return SendMessageW(window, kAskPlainLogin, 0, reinterpret_cast<LPARAM>(&server)) == IDYES;
    };
    Status sent = Status::Ok();
    {
        const ui::Busy::Scope busy(sending_);
        const SendingCaption caption(Control(kCmdYesONo));
        sent = RunWhileMessagesFlow([&submitter, request, askUser] { return submitter.Submit(request, askUser); });
    }
    Notify(sent ? std::string(texts::kSent) : std::string(texts::kNotSent) + "\n" + sent.message());
    if (sending_.CloseWasDeferred()) DestroyWindow(hwnd());
}

int Emlssea::AskPlainLogin(const std::string& server) {
    return shell::ShowNoticeOver(dialogs_, hwnd(), texts::PlainLoginQuestion(server), kQuestionStyle);
}

void Emlssea::Notify(const std::string& text) { shell::ShowNoticeOver(dialogs_, hwnd(), text); }

}  // namespace quilvane::mail
