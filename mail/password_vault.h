#pragma once
// Keeps the SMTP password out of plain sight in the settings file: the stored form is a
// marker followed by the password sealed for the current user, in base64. A password stored
// in plain text by an earlier version still reads.

#include <optional>
#include <string>
#include <string_view>

namespace quilvane::mail {

class PasswordVault {
public:
    virtual ~PasswordVault() = default;
    // Bytes only the current user can open again; nothing when the system cannot seal.
    virtual std::optional<std::string> Seal(const std::string& secret) = 0;
    virtual std::optional<std::string> Open(const std::string& sealed) = 0;
};

inline constexpr std::string_view kProtectedMarker = "{protected}";

// The stored form of a password; nothing when it cannot be protected (then it is not stored).
std::optional<std::string> ProtectedSetting(PasswordVault& vault, const std::string& password);
// The password from its stored form: sealed ones are opened (empty when that fails, as for a
// file copied from another user), plain ones are taken as they are.
std::string PasswordFromSetting(PasswordVault& vault, std::string_view stored);

}  // namespace quilvane::mail
