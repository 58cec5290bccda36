#include "mail_services.h"

#include "current_user_vault.h"

namespace quilvane::mail {
namespace {

// Stands where the system's way of sending was not installed.
class NoSubmitter final : public MailSubmitter {
public:
    Status Submit(const MailRequest&, const PlainLoginConsent&) override {
        return Status::Fail("这个程序中没有可用的发送方式");
    }
};

// A function's own static, so installing works from another file's static initialisation.
MailServices*& Installed() {
    static NoSubmitter nowhere;
    static CurrentUserVault vault;
    static MailServices nothing{nowhere, vault};
    static MailServices* installed = &nothing;
    return installed;
}

}  // namespace

MailServices& InstalledMailServices() { return *Installed(); }

void InstallMailServices(MailServices& services) { Installed() = &services; }

}  // namespace quilvane::mail
