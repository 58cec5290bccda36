#include "mail_command.h"

#include <algorithm>
#include <map>

#include "console.h"
#include "environment.h"
#include "mail_texts.h"
#include "submission.h"
#include "text_util.h"
#include "whole_file.h"

namespace quilvane {
namespace {

// Far more text than anyone writes in a message; a larger file is no body text.
constexpr std::uint64_t kLargestBodyFile = std::uint64_t{16} << 20;

// Options that take a value; --attach may come any number of times.
const std::vector<std::string> kOptions = {"--server",    "--from",   "--to",  "--user",   "--subject",
                                           "--body-file", "--attach", "--tls", "--ca-file"};

struct ParsedOptions {
    std::map<std::string, std::string> single;
    std::vector<std::string> attachments;
};

Result<ParsedOptions> ParseOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i], value;
        const std::size_t equals = name.find('=');
        const bool inlineValue = name.rfind("--", 0) == 0 && equals != std::string::npos;
        if (inlineValue) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (std::find(kOptions.begin(), kOptions.end(), name) == kOptions.end())
            return Status::Fail(name.rfind("--", 0) == 0 ? "mail 不认识选项“" + name + "”。"
                                                         : "mail 不接受参数“" + name + "”，请用选项给出。");
        if (!inlineValue) {
            if (i + 1 == arguments.size()) return Status::Fail("选项 " + name + " 后面缺少值。");
            value = arguments[++i];
        }
        if (name == "--attach")
            parsed.attachments.push_back(value);
        else if (!parsed.single.emplace(name, value).second)
            return Status::Fail("选项 " + name + " 只能给出一次。");
    }
    return parsed;
}

Result<std::string> ReadBodyFile(const std::string& path) {
    Result<std::string> bytes = ReadWholeFile(path, kLargestBodyFile);
    if (!bytes) return bytes.status();
    return mail::TextOfFile(*bytes);
}

int Failed(const std::string& cause) {
    WriteText(stderr, std::string(mail::texts::kNotSent) + "\n" + cause + "\n");
    return 1;
}

}  // namespace

int RunMailCommand(const std::vector<std::string>& arguments,
                   const std::function<int(const std::string& problem)>& usageError) {
    Result<ParsedOptions> parsed = ParseOptions(arguments);
    if (!parsed) return usageError(parsed.message());
    auto option = [&](const char* name) {
        const auto found = parsed->single.find(name);
        return found == parsed->single.end() ? std::string() : found->second;
    };
    for (const char* required : {"--server", "--from", "--to"})
        if (option(required).empty()) return usageError("mail 需要选项 " + std::string(required) + "。");

    mail::SubmitOptions options;
    const std::string tls = option("--tls");
    if (tls == "starttls")
        options.tls = mail::TlsPolicy::StartTls;
    else if (tls == "implicit")
        options.tls = mail::TlsPolicy::Implicit;
    else if (tls == "none")
        options.allowPlainLogin = [](const std::string&) { return true; };  // the user said so
    else if (parsed->single.count("--tls"))
        return usageError("--tls 后应为 starttls、implicit 或 none。");
    options.trust.caFile = option("--ca-file");

    mail::MailRequest request;
    request.server = option("--server");
    request.from = option("--from");
    request.to = option("--to");
    request.user = option("--user");
    request.subject = option("--subject");
    request.attachments = parsed->attachments;
    if (!request.user.empty()) {
        const std::optional<std::string> password = EnvironmentVariable(kPasswordVariable);
        if (!password)
            return usageError("--user 需要密码：请在环境变量 " + std::string(kPasswordVariable) + " 中给出。");
        request.password = *password;
    }
    if (const std::string bodyFile = option("--body-file"); !bodyFile.empty()) {
        Result<std::string> body = ReadBodyFile(bodyFile);
        if (!body) return Failed(body.message());
        request.body = *body;
    }

    if (Status sent = mail::SubmitMail(request, options); !sent) return Failed(sent.message());
    WriteText(stdout, std::string(mail::texts::kSent) + "\n");
    return 0;
}

}  // namespace quilvane
