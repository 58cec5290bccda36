#include "local_servers.h"

#include <algorithm>
#include <sstream>

#include "environment.h"
#include "paths.h"
#include "test_support.h"

namespace quilvane::mail::testing {
namespace {

std::string Variable(const std::string& suffix) {
    return EnvironmentVariable(("QUILVANE_TEST_SMTP_" + suffix).c_str()).value_or("");
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return text;
}

std::string RecordsFolder() { return EnsureTrailingSlash(Variable("RECORDS")); }

}  // namespace

bool LocalServers::Running() { return !Variable("RECORDS").empty(); }
std::string LocalServers::Address(const std::string& listener) { return Variable(Upper(listener)); }
std::string LocalServers::User() { return Variable("USER"); }
std::string LocalServers::Password() { return Variable("PASSWORD"); }
std::string LocalServers::CaFile() { return Variable("CA"); }

std::vector<std::string> LocalServers::Messages() {
    std::vector<std::string> messages;
    for (const std::string& name : quilvane::testing::NamesIn(RecordsFolder()))
        if (name.rfind("message-", 0) == 0) messages.push_back(RecordsFolder() + name);
    return messages;
}

std::string LocalServers::Part(const std::string& messageFolder, const std::string& name) {
    return quilvane::testing::ReadFile(EnsureTrailingSlash(messageFolder) + name);
}

std::vector<std::string> LocalServers::Events(const std::string& listener) {
    std::istringstream log(quilvane::testing::ReadFile(RecordsFolder() + "events.log"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
        if (line.rfind(listener + " ", 0) == 0) lines.push_back(line.substr(listener.size() + 1));
    return lines;
}

}  // namespace quilvane::mail::testing
