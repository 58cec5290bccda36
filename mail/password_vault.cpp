#include "password_vault.h"

#include "mime_encoding.h"

namespace quilvane::mail {

std::optional<std::string> ProtectedSetting(PasswordVault& vault, const std::string& password) {
    if (password.empty()) return std::string();
    const std::optional<std::string> sealed = vault.Seal(password);
    if (!sealed) return std::nullopt;
    return std::string(kProtectedMarker) + Base64(*sealed);
}

std::string PasswordFromSetting(PasswordVault& vault, std::string_view stored) {
    if (stored.substr(0, kProtectedMarker.size()) != kProtectedMarker) return std::string(stored);
    const std::optional<std::string> sealed = DecodeBase64(stored.substr(kProtectedMarker.size()));
    if (!sealed) return {};
    return vault.Open(*sealed).value_or("");
}

}  // namespace quilvane::mail
