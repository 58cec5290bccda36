// The system's way of sending and the current user's protection of the password, installed
// before the program starts. Only QuilvaneSplitter.exe links this file.

#include "current_user_vault.h"
#include "mail_services.h"
#include "system_submitter.h"

namespace quilvane::mail {
namespace {

SystemSubmitter systemSubmitter;
CurrentUserVault currentUserVault;
MailServices systemServices{systemSubmitter, currentUserVault};

struct InstallAtStart {
    InstallAtStart() { InstallMailServices(systemServices); }
} installAtStart;

}  // namespace
}  // namespace quilvane::mail
