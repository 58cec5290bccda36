#pragma once
// The e-mail window's fields in section "mains" of the settings file, keys "ta" and "ta1"
// to "ta7". Values are read whole (not cut at 254 bytes); a body with line breaks comes back
// whole; the password is stored sealed for the current user. Windows only.

#include <string>

#include "password_vault.h"

namespace quilvane::mail {

struct MailFields {
    std::string recipient;       // "ta",  Text1
    std::string sender;          // "ta1", Text2
    std::string user;            // "ta2", Text3
    std::string password;        // "ta3", Text4
    std::string subject;         // "ta4", Text5
    std::string body;            // "ta5", Text6
    std::string attachmentPath;  // "ta6", Text7
    std::string server;          // "ta7", Combo1's text
};

class MailSettings {
public:
    // `file` is the settings file's full path.
    MailSettings(std::string file, PasswordVault& vault) : file_(std::move(file)), vault_(vault) {}

    // Missing keys read as "".
    MailFields Load() const;
    // Writes every key in order. False when the password could not be protected: it is then
    // not stored at all (an older plain copy is removed too).
    bool Save(const MailFields& fields) const;

private:
    std::string Read(const char* key) const;
    void Write(const char* key, const std::string& value) const;

    std::string file_;
    PasswordVault& vault_;
};

}  // namespace quilvane::mail
