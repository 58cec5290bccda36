#include "submission.h"

#include <algorithm>
#include <new>

#include "addresses.h"
#include "mail_texts.h"
#include "mime_message.h"
#include "paths.h"
#include "platform_file.h"
#include "text_util.h"
#include "whole_file.h"

namespace quilvane::mail {
namespace {

// More than any mail server takes in one message, and little enough that a 32-bit process
// holds a file of this size together with its encoded copy.
constexpr std::uint64_t kLargestAttachment = std::uint64_t{256} << 20;

struct MeasuredFile {
    std::string path;
    std::uint64_t length = 0;
};

Result<MeasuredFile> Measure(const std::string& path) {
    Result<File> file = File::OpenForReading(path);
    if (!file) return file.status();
    Result<std::uint64_t> length = file->Length();
    if (!length) return length.status();
    if (*length > kLargestAttachment)
        return Status::Fail(quilvane::texts::FileTooLarge(path, *length, kLargestAttachment));
    return MeasuredFile{path, *length};
}

// The message with its attachments measured but not yet read.
class MeasuredMessage final : public OutgoingMessage {
public:
    MeasuredMessage(MessageContent content, std::vector<MeasuredFile> files)
        : content_(std::move(content)), files_(std::move(files)), stamp_(StampNow()) {
        std::vector<std::uint64_t> lengths;
        for (const MeasuredFile& file : files_) lengths.push_back(file.length);
        size_ = ComposedSize(content_, lengths, stamp_);
    }

    Status FitsWithin(unsigned long long serverLimit) const override {
        if (serverLimit == 0 || size_ <= serverLimit) return Status::Ok();
        const auto largest = std::max_element(files_.begin(), files_.end(),
                                              [](const auto& a, const auto& b) { return a.length < b.length; });
        if (largest == files_.end()) return Status::Fail(texts::MessageTooLargeForServer(size_, serverLimit));
        return Status::Fail(texts::MessageTooLargeForServer(size_, serverLimit, largest->path, largest->length));
    }

    Result<std::string> Write() override {
        for (std::size_t i = 0; i < files_.size(); ++i) {
            // A file that grew since it was measured would make the message larger than the
            // server agreed to take.
            Result<std::string> bytes = ReadWholeFile(files_[i].path, files_[i].length);
            if (!bytes) return bytes.status();
            content_.attachments[i].bytes = std::move(*bytes);
        }
        return ComposeMessage(std::move(content_), stamp_);
    }

private:
    MessageContent content_;
    std::vector<MeasuredFile> files_;
    MessageStamp stamp_;
    std::uint64_t size_ = 0;
};

Result<std::string> UsableMailbox(const std::string& entry) {
    std::string mailbox = MailboxOf(entry);
    if (!IsUsableMailbox(mailbox)) return Status::Fail(texts::AddressInvalid(entry));
    return mailbox;
}

Status Submit(const MailRequest& request, const Result<ServerAddress>& server, const SubmitOptions& options) {
    MessageContent content;
    content.to = SplitAddressList(request.to);
    if (content.to.empty()) return Status::Fail(texts::kNoRecipient);
    content.from = std::string(Trimmed(request.from));
    if (content.from.empty()) return Status::Fail(texts::kNoSender);
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
    std::vector<MeasuredFile> files;
    for (const std::string& path : request.attachments) {
        Result<MeasuredFile> file = Measure(path);
        if (!file) return file.status();
        content.attachments.push_back(Attachment{NameOf(path), {}});
        files.push_back(std::move(*file));
    }
    content.subject = request.subject;
    content.body = request.body;
    MeasuredMessage message(std::move(content), std::move(files));

    const Route route{*server, options.tls, options.trust, options.patience, options.allowPlainLogin};
    return SendThroughSmtp(route, Account{request.user, request.password}, envelope, message);
}

}  // namespace

Status SubmitMail(const MailRequest& request, const Result<ServerAddress>& server, const SubmitOptions& options) {
    // Attachments and the message are held in memory whole; a 32-bit process runs out first.
    try {
        return Submit(request, server, options);
    } catch (const std::bad_alloc&) {
        return Status::Fail(texts::kMessageTooLarge);
    }
}

Status SubmitMail(const MailRequest& request, const SubmitOptions& options) {
    return SubmitMail(request, ParseServerField(request.server), options);
}

}  // namespace quilvane::mail
