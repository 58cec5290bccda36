#include "tls.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <memory>

#include "mail_texts.h"
#include "owned.h"
#include "platform_file.h"

namespace quilvane::mail {
namespace {

using OwnedContext = Owned<SSL_CTX*, SSL_CTX_free>;
using OwnedSession = Owned<SSL*, SSL_free>;

// The library's last reason, or `fallback` when it recorded none.
std::string LibraryReason(const char* fallback) {
    const unsigned long error = ERR_get_error();
    ERR_clear_error();
    if (error == 0) return fallback;
    char text[256];
    ERR_error_string_n(error, text, sizeof text);
    return text;
}

// What is wrong with the server's chain, in the user's words.
std::string ChainProblem(long verdict) {
    switch (verdict) {
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
    case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY: return texts::kCertificateIssuerUnknown;
    case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
    case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN: return texts::kCertificateRootUntrusted;
    case X509_V_ERR_CERT_HAS_EXPIRED:
    case X509_V_ERR_CERT_NOT_YET_VALID: return texts::kCertificateExpired;
    case X509_V_ERR_CERT_REVOKED: return texts::kCertificateRevoked;
    case X509_V_ERR_CERT_SIGNATURE_FAILURE: return texts::kCertificateSignatureInvalid;
    case X509_V_ERR_INVALID_PURPOSE: return texts::kCertificateNotForServers;
    default: return "证书链有错误";
    }
}

bool IsAddressLiteral(const std::string& host) {
    const Owned<ASN1_OCTET_STRING*, ASN1_OCTET_STRING_free> address(a2i_IPADDRESS(host.c_str()));
    return static_cast<bool>(address);
}

// TLS through memory buffers: the library never touches the socket, so every wait for the
// server stays under the connection's own deadlines.
class OpenSslStream final : public ByteStream {
public:
    OpenSslStream(ByteStream& transport, OwnedContext context)
        : transport_(transport), context_(std::move(context)), session_(SSL_new(context_.get())) {
        BIO* in = BIO_new(BIO_s_mem());
        BIO* out = BIO_new(BIO_s_mem());
        incoming_ = in;
        outgoing_ = out;
        SSL_set_bio(session_.get(), in, out);  // the session owns both from here on
    }

    Status Handshake(const std::string& hostName, TimePoint deadline) {
        SSL* session = session_.get();
        if (IsAddressLiteral(hostName)) {
            X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(session), hostName.c_str());
        } else {
            SSL_set_tlsext_host_name(session, hostName.c_str());
            SSL_set1_host(session, hostName.c_str());
        }
        for (;;) {
            const int done = SSL_connect(session);
            if (Status flushed = Flush(); !flushed) return flushed;
            if (done == 1) return Status::Ok();
            if (SSL_get_error(session, done) != SSL_ERROR_WANT_READ) return HandshakeFailure(hostName);
            if (Status fed = Feed(deadline); !fed) return fed;
        }
    }

    Status SendAll(std::string_view bytes) override {
        while (!bytes.empty()) {
            const int chunk = static_cast<int>(std::min<std::size_t>(bytes.size(), 16384));
            const int written = SSL_write(session_.get(), bytes.data(), chunk);
            if (written <= 0) return Status::Fail(texts::TlsFailed(LibraryReason("SSL_write")));
            bytes.remove_prefix(static_cast<std::size_t>(written));
            if (Status flushed = Flush(); !flushed) return flushed;
        }
        return Status::Ok();
    }

    Result<std::string> ReceiveSome(TimePoint deadline) override {
        std::string bytes(16384, '\0');
        for (;;) {
            const int got = SSL_read(session_.get(), bytes.data(), static_cast<int>(bytes.size()));
            if (got > 0) {
                bytes.resize(static_cast<std::size_t>(got));
                return bytes;
            }
            const int error = SSL_get_error(session_.get(), got);
            // Messages after the handshake (session tickets) may want an answer.
            if (Status flushed = Flush(); !flushed) return flushed;
            if (error == SSL_ERROR_ZERO_RETURN) return Status::Fail(texts::TlsFailed("服务器关闭了加密连接"));
            if (error != SSL_ERROR_WANT_READ) return Status::Fail(texts::TlsFailed(LibraryReason("SSL_read")));
            if (Status fed = Feed(deadline); !fed) return fed;
        }
    }

private:
    Status Flush() {
        char* pending = nullptr;
        const long size = BIO_get_mem_data(outgoing_, &pending);
        if (size <= 0) return Status::Ok();
        Status sent = transport_.SendAll(std::string_view(pending, static_cast<std::size_t>(size)));
        (void)BIO_reset(outgoing_);
        return sent;
    }

    Status Feed(TimePoint deadline) {
        Result<std::string> received = transport_.ReceiveSome(deadline);
        if (!received) return received.status();
        BIO_write(incoming_, received->data(), static_cast<int>(received->size()));
        return Status::Ok();
    }

    Status HandshakeFailure(const std::string& hostName) {
        const long verdict = SSL_get_verify_result(session_.get());
        const std::string library = std::string("（") + X509_verify_cert_error_string(verdict) + "）";
        if (verdict == X509_V_ERR_HOSTNAME_MISMATCH || verdict == X509_V_ERR_IP_ADDRESS_MISMATCH)
            return Status::Fail(texts::CertificateNameMismatch(texts::CertificateIsForAnotherHost(hostName) + library));
        if (verdict != X509_V_OK) return Status::Fail(texts::CertificateUntrusted(ChainProblem(verdict) + library));
        return Status::Fail(texts::TlsFailed(LibraryReason("握手没有完成")));
    }

    ByteStream& transport_;
    OwnedContext context_;
    OwnedSession session_;
    BIO* incoming_ = nullptr;
    BIO* outgoing_ = nullptr;
};

}  // namespace

Result<std::unique_ptr<ByteStream>> StartTls(ByteStream& transport, const std::string& hostName, const TlsTrust& trust,
                                             TimePoint deadline) {
    OwnedContext context(SSL_CTX_new(TLS_client_method()));
    if (!context) return Status::Fail(texts::TlsFailed(LibraryReason("SSL_CTX_new")));
    SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION);
    SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, nullptr);
    SSL_CTX_set_default_verify_paths(context.get());
    if (!trust.caFile.empty()) {
        if (!FileExists(trust.caFile)) return Status::Fail(texts::CaFileUnusable(trust.caFile, texts::kNoSuchFile));
        if (SSL_CTX_load_verify_locations(context.get(), trust.caFile.c_str(), nullptr) != 1)
            return Status::Fail(texts::CaFileUnusable(trust.caFile, LibraryReason(texts::kCaFileHoldsNoCertificate)));
    }
    auto stream = std::make_unique<OpenSslStream>(transport, std::move(context));
    if (Status shaken = stream->Handshake(hostName, deadline); !shaken) return shaken;
    return std::unique_ptr<ByteStream>(std::move(stream));
}

}  // namespace quilvane::mail
