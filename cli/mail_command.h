#pragma once
// quilvane mail: one e-mail through the program's own SMTP client, as the e-mail window
// sends it. The password comes from the environment (QUILVANE_SMTP_PASSWORD), never from
// the command line, where other users of the machine could read it.

#include <functional>
#include <string>
#include <vector>

namespace quilvane {

inline constexpr const char* kPasswordVariable = "QUILVANE_SMTP_PASSWORD";

// `arguments` follow the word "mail". Prints "邮件发送成功!" and returns 0, or prints
// "邮件发送失败!" with the cause on standard error and returns 1; wrong usage is handed to
// `usageError`, whose result is returned.
int RunMailCommand(const std::vector<std::string>& arguments,
                   const std::function<int(const std::string& problem)>& usageError);

}  // namespace quilvane
