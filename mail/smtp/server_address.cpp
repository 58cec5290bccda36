#include "server_address.h"

#include "mail_texts.h"
#include "text_util.h"

namespace quilvane::mail {

std::string ServerLabel(const std::string& host, std::uint16_t port) {
    const bool ipv6 = host.find(':') != std::string::npos;
    return (ipv6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

Result<ServerAddress> ParseServerField(std::string_view field) {
    const std::string text(Trimmed(field));
    if (text.empty()) return Status::Fail(texts::kNoServer);
    ServerAddress server;
    std::string portText;
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string::npos) return Status::Fail(texts::PortInvalid(text));
        server.host = text.substr(1, close - 1);
        const std::string rest = text.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return Status::Fail(texts::PortInvalid(text));
            portText = rest.substr(1);
            server.portGiven = true;
        }
    } else if (const std::size_t colon = text.find(':');
               colon != std::string::npos && text.find(':', colon + 1) == std::string::npos) {
        server.host = text.substr(0, colon);
        portText = text.substr(colon + 1);
        server.portGiven = true;
    } else {
        server.host = text;  // a bare name, or an IPv6 address without a port
    }
    if (server.host.empty()) return Status::Fail(texts::kNoServer);
    if (server.portGiven) {
        if (portText.empty() || portText.size() > 5 || portText.find_first_not_of("0123456789") != std::string::npos)
            return Status::Fail(texts::PortInvalid(text));
        const int port = std::stoi(portText);
        if (port < 1 || port > 65535) return Status::Fail(texts::PortInvalid(text));
        server.port = static_cast<std::uint16_t>(port);
    }
    return server;
}

}  // namespace quilvane::mail
