#include "current_user_vault.h"

#include <windows.h>
#include <wincrypt.h>

#include "win32_owners.h"

namespace quilvane::mail {
namespace {

DATA_BLOB BlobOf(const std::string& bytes) {
    return DATA_BLOB{static_cast<DWORD>(bytes.size()), reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data()))};
}

// Takes the system's output, wiped before it is freed.
std::string Taken(DATA_BLOB& output) {
    const LocalMemory<BYTE> allocated(output.pbData);
    std::string bytes(reinterpret_cast<const char*>(output.pbData), output.cbData);
    SecureZeroMemory(output.pbData, output.cbData);
    return bytes;
}

}  // namespace

std::optional<std::string> CurrentUserVault::Seal(const std::string& secret) {
    DATA_BLOB input = BlobOf(secret), output{};
    if (!CryptProtectData(&input, L"Quilvane SMTP", nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &output))
        return std::nullopt;
    return Taken(output);
}

std::optional<std::string> CurrentUserVault::Open(const std::string& sealed) {
    DATA_BLOB input = BlobOf(sealed), output{};
    if (!CryptUnprotectData(&input, nullptr, nullptr, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &output))
        return std::nullopt;
    return Taken(output);
}

}  // namespace quilvane::mail
