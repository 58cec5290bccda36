#include "socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "mail_texts.h"
#include "posix_owners.h"
#include "server_address.h"

namespace quilvane::mail {
namespace {

constexpr std::size_t kReceiveChunk = 16384;

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

inline void FreeAddresses(addrinfo* addresses) { ::freeaddrinfo(addresses); }
using ResolvedAddresses = Owned<addrinfo*, FreeAddresses>;

enum class Wait { Ready, TimedOut, Failed };

// Waits until the socket can take `events`, in slices, so the deadline follows the clock.
Wait WaitFor(int fd, short events, TimePoint deadline, Clock& clock) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock.Now());
        if (left.count() <= 0) return Wait::TimedOut;
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(std::min(left, kWaitSlice).count()));
        if (ready > 0) return Wait::Ready;
        if (ready < 0 && errno != EINTR) return Wait::Failed;
    }
}

// Connects to one resolved address; the error number when it does not answer in time.
int ConnectOne(const addrinfo& address, TimePoint deadline, Clock& clock, UniqueFd& connected) {
    UniqueFd attempt(
        ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address.ai_protocol));
    const int fd = attempt.get();
    if (fd < 0) return errno;
    int error = ::connect(fd, address.ai_addr, address.ai_addrlen) == 0 ? 0 : errno;
    if (error == EINPROGRESS) {
        const Wait waited = WaitFor(fd, POLLOUT, deadline, clock);
        socklen_t size = sizeof error;
        if (waited == Wait::TimedOut)
            error = ETIMEDOUT;
        else if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
            error = errno;
    }
    if (error == 0) connected = std::move(attempt);
    return error;
}

}  // namespace

Result<Socket> Socket::Connect(const std::string& host, std::uint16_t port, Patience patience) {
    const std::string label = ServerLabel(host, port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int failed = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found); failed != 0)
        return Status::Fail(
            texts::HostNotFound(host, failed == EAI_SYSTEM ? std::strerror(errno) : gai_strerror(failed)));
    const ResolvedAddresses addresses(found);
    int lastError = 0;
    UniqueFd fd;
    for (const addrinfo* address = found; address && !fd; address = address->ai_next)
        lastError = ConnectOne(*address, patience.DeadlineFromNow(), *patience.clock, fd);
    if (!fd) {
        if (lastError == ETIMEDOUT) return Status::Fail(texts::NoAnswer(label, patience.Seconds()));
        return Status::Fail(texts::ConnectFailed(label, std::strerror(lastError)));
    }
    return Socket(fd.Disown(), label, patience);
}

void Socket::CloseNative(NativeHandle handle) { ::close(Fd(handle)); }

Status Socket::SendAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(Fd(handle_.get()), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return Status::Fail(texts::ConnectionLost(label_, std::strerror(errno)));
        const Wait waited = WaitFor(Fd(handle_.get()), POLLOUT, patience_.DeadlineFromNow(), *patience_.clock);
        if (waited == Wait::TimedOut) return Status::Fail(texts::NoAnswer(label_, patience_.Seconds()));
        if (waited == Wait::Failed) return Status::Fail(texts::ConnectionLost(label_, std::strerror(errno)));
    }
    return Status::Ok();
}

Result<std::string> Socket::ReceiveSome(TimePoint deadline) {
    std::string bytes(kReceiveChunk, '\0');
    for (;;) {
        const ssize_t got = ::recv(Fd(handle_.get()), bytes.data(), bytes.size(), 0);
        if (got > 0) {
            bytes.resize(static_cast<std::size_t>(got));
            return bytes;
        }
        if (got == 0) return Status::Fail(texts::ClosedByServer(label_));
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            return Status::Fail(texts::ConnectionLost(label_, std::strerror(errno)));
        const Wait waited = WaitFor(Fd(handle_.get()), POLLIN, deadline, *patience_.clock);
        if (waited == Wait::TimedOut) return Status::Fail(texts::NoAnswer(label_, patience_.Seconds()));
        if (waited == Wait::Failed) return Status::Fail(texts::ConnectionLost(label_, std::strerror(errno)));
    }
}

std::string Socket::LocalAddressLiteral() const {
    sockaddr_storage local{};
    socklen_t size = sizeof local;
    char text[INET6_ADDRSTRLEN] = {};
    if (::getsockname(Fd(handle_.get()), reinterpret_cast<sockaddr*>(&local), &size) != 0) return "[127.0.0.1]";
    if (local.ss_family == AF_INET6) {
        ::inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6*>(&local)->sin6_addr, text, sizeof text);
        return std::string("[IPv6:") + text + "]";
    }
    ::inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(&local)->sin_addr, text, sizeof text);
    return std::string("[") + text + "]";
}

}  // namespace quilvane::mail
