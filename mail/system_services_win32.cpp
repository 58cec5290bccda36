#include "system_services.h"

#include "current_user_vault.h"
#include "system_submitter.h"

namespace quilvane::mail {

MailServices& SystemMailServices() {
    static SystemSubmitter submitter;
    static CurrentUserVault vault;
    static MailServices services{submitter, vault};
    return services;
}

}  // namespace quilvane::mail
