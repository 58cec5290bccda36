// The SMTP server field as typed or found in the settings file. A field that reads names a
// host and a port from 1 to 65535 (25 unless it gives one); for a host that can be a name or an
// address, the label messages show reads as the same server.

#include "fuzz_promise.h"
#include "server_address.h"

using namespace quilvane::mail;
using quilvane::Result;
using quilvane::fuzz::Promise;

namespace {

// Letters, digits and the marks of host names and IPv4 and IPv6 addresses (with a zone).
bool CanBeAHost(const std::string& host) {
    return host.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789.-_:%") ==
           std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view field = quilvane::fuzz::Text(data, size);
    const Result<ServerAddress> server = ParseServerField(field);
    if (!server) {
        Promise(!server.message().empty(), "a refusal says why");
        return 0;
    }
    Promise(!server->host.empty(), "a server has a host");
    Promise(server->port >= 1, "a port is at least 1");
    Promise(server->portGiven || server->port == kSubmissionPort, "without a port of its own the port is 25");
    if (!CanBeAHost(server->host)) return 0;  // refused when it is looked up
    const Result<ServerAddress> labelled = ParseServerField(ServerLabel(server->host, server->port));
    Promise(labelled && labelled->host == server->host && labelled->port == server->port,
            "the label names the same server");
    return 0;
}
