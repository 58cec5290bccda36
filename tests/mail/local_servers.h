#pragma once
// The local SMTP servers that smtp_test_server.py starts around a test program: their
// addresses, the account they accept, and what they recorded. Tests that need them skip
// when the program runs without them.

#include <cstddef>
#include <string>
#include <vector>

namespace quilvane::mail::testing {

class LocalServers {
public:
    // False when the program was started without the servers around it.
    static bool Running();

    // "localhost:port" of a listener: "plain", "starttls", "implicit", "untrusted", "wronghost",
    // "heloonly", "loginonly", "silent", "closed", "dropsdata", "liar"; "127.0.0.1:port" of
    // "ipaddress".
    static std::string Address(const std::string& listener);
    static std::string User();
    static std::string Password();
    static std::string CaFile();

    // The folders of the accepted messages, oldest first.
    static std::vector<std::string> Messages();
    // One decoded piece of a recorded message: "subject.txt", "body.txt", "attachment-1.bin"...
    static std::string Part(const std::string& messageFolder, const std::string& name);
    // The lines of the servers' log that start with `listener`.
    static std::vector<std::string> Events(const std::string& listener);
};

}  // namespace quilvane::mail::testing
