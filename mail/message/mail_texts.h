#pragma once
// Every text the mail subsystem shows a user, in one place. The first group are the
// program's established notices and must stay exactly as they are.

#include <string>

#include "texts.h"

namespace quilvane::mail::texts {

inline constexpr const char* kSent = "邮件发送成功!";
inline constexpr const char* kNotSent = "邮件发送失败!";

// Fields that must be filled before anything is sent.
inline constexpr const char* kNoRecipient = "没有填写收件人";
inline constexpr const char* kNoSender = "没有填写发件人";
inline constexpr const char* kNoServer = "没有填写SMTP服务器";
inline std::string Unexpected(const std::string& what) { return "发送时出现意外错误：" + what; }
inline constexpr const char* kMessageTooLarge = "附件太大，内存不足以组成这封邮件，请分成几封发送";
inline std::string AddressInvalid(const std::string& address) { return "邮件地址“" + address + "”无效"; }
inline std::string PortInvalid(const std::string& server) {
    return "SMTP服务器“" + server + "”的端口无效，应为1到65535之间的数字";
}

// Reaching the server.
inline std::string HostNotFound(const std::string& host, const std::string& reason) {
    return "找不到服务器“" + host + "”：" + reason;
}
inline std::string ConnectFailed(const std::string& server, const std::string& reason) {
    return "无法连接到服务器“" + server + "”：" + reason;
}
inline std::string NoAnswer(const std::string& server, long long seconds) {
    return "服务器“" + server + "”在" + std::to_string(seconds) + "秒内没有响应";
}
inline std::string ConnectionLost(const std::string& server, const std::string& reason) {
    return "与服务器“" + server + "”的连接中断：" + reason;
}
inline std::string ClosedByServer(const std::string& server) { return "服务器“" + server + "”断开了连接"; }
inline std::string ReplyUnreadable(const std::string& server) { return "无法识别服务器“" + server + "”的回复"; }

// The server's refusals, each followed by what the server said.
inline std::string GreetingRefused(const std::string& reply) { return "服务器拒绝了连接：" + reply; }
inline std::string HelloRefused(const std::string& reply) { return "服务器拒绝了问候（EHLO/HELO）：" + reply; }
inline std::string StartTlsRefused(const std::string& reply) { return "服务器拒绝了加密连接（STARTTLS）：" + reply; }
inline std::string CredentialsRefused(const std::string& reply) { return "用户名或密码不正确：" + reply; }
inline std::string LoginRefused(const std::string& reply) { return "服务器拒绝了登录：" + reply; }
inline std::string SenderRefused(const std::string& address, const std::string& reply) {
    return "服务器拒绝了发件人“" + address + "”：" + reply;
}
inline std::string RecipientRefused(const std::string& address, const std::string& reply) {
    return "服务器拒绝了收件人“" + address + "”：" + reply;
}
inline std::string MessageRefused(const std::string& reply) { return "服务器拒绝了邮件内容：" + reply; }
inline std::string MessageTooLargeForServer(unsigned long long size, unsigned long long limit,
                                            const std::string& largestFile = "", unsigned long long largestSize = 0) {
    using quilvane::texts::SizeText;
    const std::string largest =
        largestFile.empty() ? "" : "（最大的附件“" + largestFile + "”有" + SizeText(largestSize) + "）";
    return "邮件编码后约有" + SizeText(size) + "，超过了服务器允许的" + SizeText(limit) + largest + "，请分成几封发送";
}
inline constexpr const char* kNoLoginMethod = "服务器不支持用户名和密码登录（AUTH PLAIN 或 AUTH LOGIN），密码没有发送";
inline std::string StartTlsMissing(const std::string& server) {
    return "服务器“" + server + "”不支持加密连接（STARTTLS），密码没有发送";
}
inline std::string PlainLoginQuestion(const std::string& server) {
    return "服务器“" + server + "”不支持加密连接（STARTTLS），仍要以明文发送密码吗？\n网络上的其他人可能看到这个密码。";
}

// The platform's messaging component.
inline std::string ComponentFailed(const std::string& member, const std::string& reason) {
    return "邮件组件（CDO.Message）的“" + member + "”失败：" + reason;
}

// Encryption.
inline std::string CertificateUntrusted(const std::string& reason) { return "服务器证书不可信：" + reason; }
inline std::string CertificateNameMismatch(const std::string& reason) { return "证书与服务器名称不符：" + reason; }
inline std::string TlsFailed(const std::string& reason) { return "加密连接失败：" + reason; }
inline std::string CaFileUnusable(const std::string& path, const std::string& reason) {
    return "无法使用证书文件“" + path + "”：" + reason;
}
inline constexpr const char* kCertificateIssuerUnknown = "找不到签发此证书的受信任机构";
inline constexpr const char* kCertificateRootUntrusted = "证书链的根证书不受信任";
inline constexpr const char* kCertificateExpired = "证书已过期或尚未生效";
inline constexpr const char* kCertificateRevoked = "证书已被吊销";
inline constexpr const char* kCertificateSignatureInvalid = "证书的签名无效";
inline constexpr const char* kCertificateNotForServers = "证书不能用于服务器身份验证";
inline std::string CertificateIsForAnotherHost(const std::string& host) { return "证书不是颁发给“" + host + "”的"; }
inline constexpr const char* kNoSuchFile = "找不到这个文件";
inline constexpr const char* kCaFileHoldsNoCertificate = "文件中没有PEM格式的证书";

}  // namespace quilvane::mail::texts
