#include "submission.h"

#include "addresses.h"
#include "mail_texts.h"
#include "mime_message.h"
#include "paths.h"
#include "platform_file.h"
#include "text_util.h"

namespace quilvane::mail {
namespace {

Result<Attachment> ReadAttachment(const std::string& path) {
    Result<File> file = File::OpenForReading(path);
    if (!file) return file.status();
    Result<std::uint64_t> length = file->Length();
    if (!length) return length.status();
    Attachment attachment;
    attachment.fileName = NameOf(path);
    attachment.bytes.resize(static_cast<std::size_t>(*length));
    if (Status read = file->ReadAt(0, attachment.bytes.data(), attachment.bytes.size()); !read) return read;
    return attachment;
}

Result<std::string> UsableMailbox(const std::string& entry) {
    std::string mailbox = MailboxOf(entry);
    if (!IsUsableMailbox(mailbox)) return Status::Fail(texts::AddressInvalid(entry));
    return mailbox;
}

}  // namespace

Status SubmitMail(const MailRequest& request, const SubmitOptions& options) {
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
    const std::string message = ComposeMessage(content, StampNow());

    const Route route{*server, options.tls, options.trust, options.patience};
    return SendThroughSmtp(route, Account{request.user, request.password}, envelope, message);
}

}  // namespace quilvane::mail
