#include "submission.h"

#include <new>

#include "addresses.h"
#include "mail_texts.h"
#include "mime_message.h"
#include "paths.h"
#include "text_util.h"
#include "whole_file.h"

namespace quilvane::mail {
namespace {

Result<Attachment> ReadAttachment(const std::string& path) {
    Result<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return bytes.status();
    return Attachment{NameOf(path), std::move(*bytes)};
}

Result<std::string> UsableMailbox(const std::string& entry) {
    std::string mailbox = MailboxOf(entry);
    if (!IsUsableMailbox(mailbox)) return Status::Fail(texts::AddressInvalid(entry));
    return mailbox;
}

Status Submit(const MailRequest& request, const SubmitOptions& options) {
    MessageContent content;
    content.to = SplitAddressList(request.to);
    if (content.to.empty()) return Status::Fail(texts::kNoRecipient);
    content.from = std::string(Trimmed(request.from));
    if (content.from.empty()) return Status::Fail(texts::kNoSender);
    Result<ServerAddress> server = ParseServerField(request.server);
    if (!server) return server.status();

    Envelope envelope;
    Result<std::string> sender = UsableMailbox(content.from);
    if (!sender) return sender.status();
    envelope.sender = *sender;
    for (const std::string& entry : content.to) {
        Result<std::string> recipient = UsableMailbox(entry);
        if (!recipient) return recipient.status();
        envelope.recipients.push_back(*recipient);
    }
    for (const std::string& path : request.attachments) {
        Result<Attachment> attachment = ReadAttachment(path);
        if (!attachment) return attachment.status();
        content.attachments.push_back(std::move(*attachment));
    }
    content.subject = request.subject;
    content.body = request.body;
    const std::string message = ComposeMessage(std::move(content), StampNow());

    const Route route{*server, options.tls, options.trust, options.patience};
    return SendThroughSmtp(route, Account{request.user, request.password}, envelope, message);
}

}  // namespace

Status SubmitMail(const MailRequest& request, const SubmitOptions& options) {
    // Attachments and the message are held in memory whole; a 32-bit process runs out first.
    try {
        return Submit(request, options);
    } catch (const std::bad_alloc&) {
        return Status::Fail(texts::kMessageTooLarge);
    }
}

}  // namespace quilvane::mail
