#include "sha256.h"

#include <windows.h>

#include <bcrypt.h>

#include "owned.h"
#include "texts.h"

namespace quilvane {

namespace {

inline void DestroyHash(BCRYPT_HASH_HANDLE hash) { BCryptDestroyHash(hash); }
using HashObject = Owned<BCRYPT_HASH_HANDLE, DestroyHash>;

}  // namespace

struct Sha256::State {
    HashObject hash;
    bool failed = false;
};

Sha256::Sha256(std::unique_ptr<State> state) : state_(std::move(state)) {}
Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;
Sha256::~Sha256() = default;

namespace {

constexpr ULONG kDigestSize = 32;

// The algorithm provider is opened once and kept for the program's life.
BCRYPT_ALG_HANDLE Provider() {
    static BCRYPT_ALG_HANDLE provider = [] {
        BCRYPT_ALG_HANDLE opened = nullptr;
        return BCRYPT_SUCCESS(BCryptOpenAlgorithmProvider(&opened, BCRYPT_SHA256_ALGORITHM, nullptr, 0)) ? opened
                                                                                                         : nullptr;
    }();
    return provider;
}

// A new hash object; empty when the system has none to give.
HashObject Create() {
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (!Provider() || !BCRYPT_SUCCESS(BCryptCreateHash(Provider(), &hash, nullptr, 0, nullptr, 0, 0))) return {};
    return HashObject(hash);
}

}  // namespace

Result<Sha256> Sha256::Start() {
    auto state = std::make_unique<State>();
    state->hash = Create();
    if (!state->hash) return Status::Fail(texts::kNoSha256);
    return Sha256(std::move(state));
}

void Sha256::Update(const char* data, std::size_t size) {
    // The system takes at most 4 GiB - 1 bytes a call.
    while (size > 0 && !state_->failed) {
        const ULONG chunk = size > 0x40000000 ? 0x40000000 : static_cast<ULONG>(size);
        if (!BCRYPT_SUCCESS(
                BCryptHashData(state_->hash.get(), reinterpret_cast<PUCHAR>(const_cast<char*>(data)), chunk, 0)))
            state_->failed = true;
        data += chunk;
        size -= chunk;
    }
}

Result<std::string> Sha256::HexDigest() {
    unsigned char digest[kDigestSize];
    bool ok = !state_->failed && BCRYPT_SUCCESS(BCryptFinishHash(state_->hash.get(), digest, kDigestSize, 0));
    // A finished hash object takes no more data: the next digest starts with a new one.
    state_->hash = Create();
    state_->failed = !state_->hash;
    ok = ok && !state_->failed;
    if (!ok) return Status::Fail(texts::kNoSha256);
    return HexOf(digest, kDigestSize);
}

}  // namespace quilvane
