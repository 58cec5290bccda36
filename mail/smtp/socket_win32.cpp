#include "socket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>

#include "mail_texts.h"
#include "server_address.h"
#include "system_reason.h"
#include "utf16.h"

namespace quilvane::mail {
namespace {

constexpr int kReceiveChunk = 16384;

SOCKET Handle(std::intptr_t handle) { return static_cast<SOCKET>(handle); }

inline void CloseSocket(SOCKET socket) { closesocket(socket); }
using OwnedSocket = Owned<SOCKET, CloseSocket, INVALID_SOCKET>;
inline void FreeAddresses(ADDRINFOW* addresses) { FreeAddrInfoW(addresses); }
using ResolvedAddresses = Owned<ADDRINFOW*, FreeAddresses>;

// Winsock is started once, on the first connection, and stays until the program ends.
bool WinsockReady() {
    static const bool ready = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ready;
}

enum class Wait { Ready, TimedOut, Failed };

// select rather than WSAPoll: only select reports a refused connection attempt on every
// Windows version. A connection that failed shows in the exception set.
Wait WaitFor(SOCKET socket, bool forWriting, TimePoint deadline, Clock& clock) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock.Now());
        if (left.count() <= 0) return Wait::TimedOut;
        const long slice = static_cast<long>(std::min(left, kWaitSlice).count());
        timeval wait{slice / 1000, (slice % 1000) * 1000};
        fd_set ready, failed;
        FD_ZERO(&ready);
        FD_ZERO(&failed);
        FD_SET(socket, &ready);
        FD_SET(socket, &failed);
        const int count = select(0, forWriting ? nullptr : &ready, forWriting ? &ready : nullptr, &failed, &wait);
        if (count == SOCKET_ERROR) return Wait::Failed;
        if (count > 0) return FD_ISSET(socket, &failed) ? Wait::Failed : Wait::Ready;
    }
}

int SocketError(SOCKET socket) {
    int error = 0;
    int size = sizeof error;
    if (getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0) return WSAGetLastError();
    return error;
}

// Connects to one resolved address; the error code when it does not answer in time.
int ConnectOne(const ADDRINFOW& address, TimePoint deadline, Clock& clock, OwnedSocket& connected) {
    OwnedSocket attempt(::socket(address.ai_family, address.ai_socktype, address.ai_protocol));
    const SOCKET socket = attempt.get();
    if (!attempt) return WSAGetLastError();
    u_long nonBlocking = 1;
    ioctlsocket(socket, FIONBIO, &nonBlocking);
    int error = 0;
    if (connect(socket, address.ai_addr, static_cast<int>(address.ai_addrlen)) != 0) {
        error = WSAGetLastError();
        if (error == WSAEWOULDBLOCK) {
            const Wait waited = WaitFor(socket, true, deadline, clock);
            error = waited == Wait::TimedOut ? WSAETIMEDOUT : waited == Wait::Failed ? SocketError(socket) : 0;
            if (waited == Wait::Failed && error == 0) error = WSAECONNREFUSED;
        }
    }
    if (error == 0) connected = std::move(attempt);
    return error;
}

}  // namespace

Result<Socket> Socket::Connect(const std::string& host, std::uint16_t port, Patience patience) {
    const std::string label = ServerLabel(host, port);
    if (!WinsockReady()) return Status::Fail(texts::ConnectFailed(label, SystemReason(WSASYSNOTREADY)));
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    ADDRINFOW* found = nullptr;
    if (const int failed = GetAddrInfoW(Widen(host).c_str(), std::to_wstring(port).c_str(), &hints, &found))
        return Status::Fail(texts::HostNotFound(host, SystemReason(static_cast<unsigned long>(failed))));
    const ResolvedAddresses addresses(found);
    int lastError = 0;
    OwnedSocket socket;
    for (const ADDRINFOW* address = found; address && !socket; address = address->ai_next)
        lastError = ConnectOne(*address, patience.DeadlineFromNow(), *patience.clock, socket);
    if (!socket) {
        if (lastError == WSAETIMEDOUT) return Status::Fail(texts::NoAnswer(label, patience.Seconds()));
        return Status::Fail(texts::ConnectFailed(label, SystemReason(static_cast<unsigned long>(lastError))));
    }
    return Socket(static_cast<NativeHandle>(socket.Disown()), label, patience);
}

void Socket::CloseNative(NativeHandle handle) { closesocket(Handle(handle)); }

Status Socket::SendAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size(), 1 << 20));
        const int sent = send(Handle(handle_.get()), bytes.data(), chunk, 0);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        const int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) return Status::Fail(texts::ConnectionLost(label_, SystemReason(error)));
        const Wait waited = WaitFor(Handle(handle_.get()), true, patience_.DeadlineFromNow(), *patience_.clock);
        if (waited == Wait::TimedOut) return Status::Fail(texts::NoAnswer(label_, patience_.Seconds()));
        if (waited == Wait::Failed)
            return Status::Fail(texts::ConnectionLost(label_, SystemReason(SocketError(Handle(handle_.get())))));
    }
    return Status::Ok();
}

Result<std::string> Socket::ReceiveSome(TimePoint deadline) {
    std::string bytes(kReceiveChunk, '\0');
    for (;;) {
        const int got = recv(Handle(handle_.get()), bytes.data(), kReceiveChunk, 0);
        if (got > 0) {
            bytes.resize(static_cast<std::size_t>(got));
            return bytes;
        }
        if (got == 0) return Status::Fail(texts::ClosedByServer(label_));
        const int error = WSAGetLastError();
        if (error != WSAEWOULDBLOCK) return Status::Fail(texts::ConnectionLost(label_, SystemReason(error)));
        const Wait waited = WaitFor(Handle(handle_.get()), false, deadline, *patience_.clock);
        if (waited == Wait::TimedOut) return Status::Fail(texts::NoAnswer(label_, patience_.Seconds()));
        if (waited == Wait::Failed)
            return Status::Fail(texts::ConnectionLost(label_, SystemReason(SocketError(Handle(handle_.get())))));
    }
}

std::string Socket::LocalAddressLiteral() const {
    sockaddr_storage local{};
    int size = sizeof local;
    wchar_t text[INET6_ADDRSTRLEN] = {};
    if (getsockname(Handle(handle_.get()), reinterpret_cast<sockaddr*>(&local), &size) != 0) return "[127.0.0.1]";
    if (local.ss_family == AF_INET6) {
        InetNtopW(AF_INET6, &reinterpret_cast<sockaddr_in6*>(&local)->sin6_addr, text, INET6_ADDRSTRLEN);
        return "[IPv6:" + Narrow(text) + "]";
    }
    InetNtopW(AF_INET, &reinterpret_cast<sockaddr_in*>(&local)->sin_addr, text, INET6_ADDRSTRLEN);
    return "[" + Narrow(text) + "]";
}

}  // namespace quilvane::mail
