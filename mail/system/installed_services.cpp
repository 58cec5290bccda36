#include "mail_services.h"

#include "current_user_vault.h"
#include "installed.h"

namespace quilvane::mail {
namespace {

// Stands where the system's way of sending was not installed.
class NoSubmitter final : public MailSubmitter {
public:
    Status Submit(const MailRequest&, const PlainLoginConsent&) override {
        return Status::Fail("这个程序中没有可用的发送方式");
    }
};

MailServices& NoServices() {
    static NoSubmitter nowhere;
    static CurrentUserVault vault;
    static MailServices nothing{nowhere, vault};
    return nothing;
}

using InstalledServices = Installed<MailServices, NoServices>;

}  // namespace

MailServices& InstalledMailServices() { return InstalledServices::Get(); }

void InstallMailServices(MailServices& services) { InstalledServices::Install(services); }

}  // namespace quilvane::mail
