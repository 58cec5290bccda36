#pragma once
// What the e-mail window sends through and protects the password with. The program installs
// the system's own (the messaging component or the own client, and the current user's
// protection) when QuilvaneSplitter.exe starts; nothing else links them, so a test program
// that opens the window without installing stand-ins sends nowhere. Windows only.

#include "mail_submitter.h"
#include "password_vault.h"

namespace quilvane::mail {

struct MailServices {
    MailSubmitter& submitter;
    PasswordVault& vault;
    bool toldPasswordUnprotected = false;  // the user hears it once per run
};

// The installed services; until something is installed, sending fails with a message.
MailServices& InstalledMailServices();
void InstallMailServices(MailServices& services);

}  // namespace quilvane::mail
