#pragma once
// Emlssea, the e-mail window ("电子邮件"): recipient, sender, account and SMTP server in one
// group, subject, body and attachment path in the other, the attachment list below. It
// loads the stored fields each time it opens, stores them on "保存信息(S)", and sends on
// "发送邮件(&E)" while it keeps answering; a second press during a send is ignored. Before a
// password would go to a server that cannot encrypt, it asks, and 否 sends nothing. Closing
// it unloads it (a close during a send waits for the send to end).

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "busy.h"
#include "dialogs.h"
#include "drop_down_list.h"
#include "emlssea_layout.h"
#include "form.h"
#include "form_lifetime.h"
#include "handles.h"
#include "mail_settings.h"
#include "mail_services.h"
#include "settings.h"
#include "skin.h"

namespace quilvane::mail {

class Emlssea : public ui::Form {
public:
    Emlssea(shell::Skin& se, shell::Dialogs& dialogs, const shell::Settings& settings, MailServices& services);
    ~Emlssea() override;

    // Creates the window over `owner` and runs the load handler; not shown yet.
    bool Create(HWND owner);

    controls::DropDownList& SmtpList() { return *combo1_; }
    std::vector<std::string> Attachments() const;
    bool Sending() const { return sending_.Running(); }
    HWND ListTip() const { return listTip_; }

    // Event handlers, named after their control and event.
    void Form_Load();
    void Form_Unload();
    void cmdYesONo_Click();
    void Command1_Click();
    void Command2_Click();
    void tCommand1_Click();
    void List1_DblClick();

    // Mode 0 loads the stored fields, -1 clears the fields on screen, any other mode stores them.
    void SyncMailSettings(short mode);
    static void FillSmtpServers(controls::DropDownList& list);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HWND CreateCustomControl(const ui::ControlDesign& design, HWND container, const RECT& place) override;
    void ConnectEvents();
    void AddListTip();
    MailFields ReadFields() const;
    void ShowFields(const MailFields& fields);
    void AddAttachment(const std::string& path, int entriesBefore);
    void FitListWidth();
    void Notify(const std::string& text);
    int AskPlainLogin(const std::string& server);

    shell::Skin& se_;
    shell::Dialogs& dialogs_;
    std::string settingsFile_;
    MailServices& services_;
    std::unique_ptr<controls::DropDownList> combo1_;
    HWND listTip_ = nullptr;  // owned by the window, which destroys it
    ui::LoadedForm loaded_;
    ui::Busy sending_;
};

}  // namespace quilvane::mail
