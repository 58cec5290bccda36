#include "sha256.h"

#include <openssl/evp.h>

#include "owned.h"
#include "texts.h"

namespace quilvane {

struct Sha256::State {
    Owned<EVP_MD_CTX*, EVP_MD_CTX_free> context{EVP_MD_CTX_new()};
    bool failed = false;
};

Sha256::Sha256(std::unique_ptr<State> state) : state_(std::move(state)) {}
Sha256::Sha256(Sha256&&) noexcept = default;
Sha256& Sha256::operator=(Sha256&&) noexcept = default;
Sha256::~Sha256() = default;

Result<Sha256> Sha256::Start() {
    auto state = std::make_unique<State>();
    if (!state->context || EVP_DigestInit_ex(state->context.get(), EVP_sha256(), nullptr) != 1)
        return Status::Fail(texts::kNoSha256);
    return Sha256(std::move(state));
}

void Sha256::Update(const char* data, std::size_t size) {
    if (EVP_DigestUpdate(state_->context.get(), data, size) != 1) state_->failed = true;
}

Result<std::string> Sha256::HexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    const bool ok = !state_->failed && EVP_DigestFinal_ex(state_->context.get(), digest, &size) == 1 &&
                    EVP_DigestInit_ex(state_->context.get(), EVP_sha256(), nullptr) == 1;
    state_->failed = false;
    if (!ok) return Status::Fail(texts::kNoSha256);
    return HexOf(digest, size);
}

}  // namespace quilvane
