#pragma once
// SHA-256 through the system's own implementation: CNG on Windows, OpenSSL's libcrypto
// elsewhere. Both give the same digests for the same bytes.

#include <cstddef>
#include <memory>
#include <string>

#include "status.h"

namespace quilvane {

class Sha256 {
public:
    // Fails only when the system offers no SHA-256.
    static Result<Sha256> Start();
    Sha256(Sha256&&) noexcept;
    Sha256& operator=(Sha256&&) noexcept;
    ~Sha256();

    void Update(const char* data, std::size_t size);
    // 64 lowercase hexadecimal digits; the hash starts over afterwards.
    Result<std::string> HexDigest();

    struct State;

private:
    explicit Sha256(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

// Lowercase hexadecimal digits of `size` bytes.
std::string HexOf(const unsigned char* bytes, std::size_t size);

}  // namespace quilvane
