#pragma once
// The system's protection of secrets for the logged-on user (CryptProtectData). Windows only.

#include "password_vault.h"

namespace quilvane::mail {

class CurrentUserVault final : public PasswordVault {
public:
    std::optional<std::string> Seal(const std::string& secret) override;
    std::optional<std::string> Open(const std::string& sealed) override;
};

}  // namespace quilvane::mail
