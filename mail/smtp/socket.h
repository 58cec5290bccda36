#pragma once
// A TCP connection to a mail server with every wait bounded: connecting to each address the
// name resolves to in turn (IPv6 and IPv4) until one accepts, and each send and receive.
// Messages name the server as "host:port" and give the system's reason.

#include <cstdint>
#include <string>

#include "byte_stream.h"
#include "clock.h"
#include "owned.h"

namespace quilvane::mail {

class Socket final : public ByteStream {
public:
    static Result<Socket> Connect(const std::string& host, std::uint16_t port, Patience patience);

    Socket(Socket&& other) noexcept = default;
    Socket& operator=(Socket&& other) noexcept = default;

    Status SendAll(std::string_view bytes) override;
    Result<std::string> ReceiveSome(TimePoint deadline) override;

    // This end's address as a literal for the greeting: "[192.0.2.1]" or "[IPv6:2001:db8::1]".
    std::string LocalAddressLiteral() const;
    // "host:port", as messages name the server.
    const std::string& label() const { return label_; }

private:
    using NativeHandle = std::intptr_t;
    // The platform's close; -1 is no socket on both platforms (INVALID_SOCKET, no descriptor).
    static void CloseNative(NativeHandle handle);
    Socket(NativeHandle handle, std::string label, Patience patience)
        : handle_(handle), label_(std::move(label)), patience_(patience) {}

    Owned<NativeHandle, CloseNative, -1> handle_;
    std::string label_;
    Patience patience_;
};

}  // namespace quilvane::mail
