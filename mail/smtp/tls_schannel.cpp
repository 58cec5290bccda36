#include "tls.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#define SECURITY_WIN32
#include <security.h>
#include <schannel.h>
#include <wincrypt.h>

#include <cstdio>
#include <memory>
#include <string_view>

#include "mail_texts.h"
#include "mime_encoding.h"
#include "platform_file.h"
#include "system_reason.h"
#include "utf16.h"
#include "whole_file.h"
#include "win32_owners.h"

namespace quilvane::mail {
namespace {

constexpr DWORD kContextRequest = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT | ISC_REQ_CONFIDENTIALITY |
                                  ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM | ISC_REQ_EXTENDED_ERROR |
                                  ISC_REQ_MANUAL_CRED_VALIDATION;

// A bundle of every public root is a few hundred KB; a file far larger is no certificate file.
constexpr std::uint64_t kLargestCaFile = std::uint64_t{16} << 20;

// SECURITY_FLAG_IGNORE_UNKNOWN_CA and _CERT_CN_INVALID, which only the internet headers define.
constexpr DWORD kIgnoreUnknownCa = 0x00000100;
constexpr DWORD kIgnoreNameMismatch = 0x00001000;

inline void CloseStore(HCERTSTORE store) { CertCloseStore(store, 0); }
inline void FreeCertificate(PCCERT_CONTEXT certificate) { CertFreeCertificateContext(certificate); }
inline void FreeChain(PCCERT_CHAIN_CONTEXT chain) { CertFreeCertificateChain(chain); }
using Store = Owned<HCERTSTORE, CloseStore>;
using Certificate = Owned<PCCERT_CONTEXT, FreeCertificate>;
using Chain = Owned<PCCERT_CHAIN_CONTEXT, FreeChain>;

// A credentials or context handle of the security package. The package fills it in; once it
// says it did, `Adopt` makes this its owner, and `Free` releases it once.
template <auto Free>
class SecurityHandle {
public:
    SecurityHandle() = default;
    SecurityHandle(const SecurityHandle&) = delete;
    SecurityHandle& operator=(const SecurityHandle&) = delete;
    ~SecurityHandle() {
        if (held_) Free(&handle_);
    }
    SecHandle* get() { return &handle_; }
    void Adopt() { held_ = true; }

private:
    SecHandle handle_{};
    bool held_ = false;
};
inline void FreeCredentials(CredHandle* credentials) { FreeCredentialsHandle(credentials); }
inline void DeleteContext(CtxtHandle* context) { DeleteSecurityContext(context); }
using Credentials = SecurityHandle<FreeCredentials>;
using SecurityContext = SecurityHandle<DeleteContext>;

// An output token the security package allocated, sent and freed.
struct OutputToken {
    SecBuffer buffer{0, SECBUFFER_TOKEN, nullptr};
    SecBufferDesc description{SECBUFFER_VERSION, 1, &buffer};
    OutputToken() = default;
    OutputToken(const OutputToken&) = delete;
    OutputToken& operator=(const OutputToken&) = delete;
    ~OutputToken() {
        if (buffer.pvBuffer) FreeContextBuffer(buffer.pvBuffer);
    }
    Status SendTo(ByteStream& transport) const {
        if (!buffer.pvBuffer || buffer.cbBuffer == 0) return Status::Ok();
        return transport.SendAll(std::string_view(static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer));
    }
};

// Revocation is not asked for (the lists are often out of reach); its flags say nothing.
constexpr DWORD kNotChecked = CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION;

// What is wrong with a chain, in the user's words.
std::string ChainProblem(DWORD problems) {
    if (problems & CERT_TRUST_IS_PARTIAL_CHAIN) return texts::kCertificateIssuerUnknown;
    if (problems & CERT_TRUST_IS_UNTRUSTED_ROOT) return texts::kCertificateRootUntrusted;
    if (problems & CERT_TRUST_IS_NOT_TIME_VALID) return texts::kCertificateExpired;
    if (problems & CERT_TRUST_IS_REVOKED) return texts::kCertificateRevoked;
    if (problems & CERT_TRUST_IS_NOT_SIGNATURE_VALID) return texts::kCertificateSignatureInvalid;
    if (problems & CERT_TRUST_IS_NOT_VALID_FOR_USAGE) return texts::kCertificateNotForServers;
    char code[64];
    std::snprintf(code, sizeof code, "证书链有错误（0x%08lX）", static_cast<unsigned long>(problems));
    return code;
}

// The certificates of a PEM file, DER-encoded, in a store of their own.
Result<Store> LoadRoots(const std::string& path) {
    if (!FileExists(path)) return Status::Fail(texts::CaFileUnusable(path, texts::kNoSuchFile));
    Result<std::string> read = ReadWholeFile(path, kLargestCaFile);
    if (!read) return read.status();
    const std::string& text = *read;

    Store store(CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr));
    constexpr std::string_view kBegin = "-----BEGIN CERTIFICATE-----", kEnd = "-----END CERTIFICATE-----";
    int added = 0;
    for (std::size_t at = text.find(kBegin); store && at != std::string::npos; at = text.find(kBegin, at)) {
        const std::size_t start = at + kBegin.size();
        const std::size_t end = text.find(kEnd, start);
        if (end == std::string::npos) break;
        std::string digits;
        for (std::size_t i = start; i < end; ++i)
            if (text[i] != '\r' && text[i] != '\n' && text[i] != ' ' && text[i] != '\t') digits += text[i];
        if (const std::optional<std::string> der = DecodeBase64(digits))
            added += CertAddEncodedCertificateToStore(store.get(), X509_ASN_ENCODING | PKCS_7_ASN_ENCODING,
                                                      reinterpret_cast<const BYTE*>(der->data()),
                                                      static_cast<DWORD>(der->size()), CERT_STORE_ADD_ALWAYS, nullptr);
        at = end + kEnd.size();
    }
    if (added == 0) return Status::Fail(texts::CaFileUnusable(path, texts::kCaFileHoldsNoCertificate));
    return store;
}

// Whether the chain's root is one of `roots`.
bool EndsInOneOf(const CERT_CHAIN_CONTEXT& chain, HCERTSTORE roots) {
    if (!roots || chain.cChain == 0) return false;
    const CERT_SIMPLE_CHAIN* simple = chain.rgpChain[0];
    const PCCERT_CONTEXT root = simple->rgpElement[simple->cElement - 1]->pCertContext;
    const Certificate found(CertFindCertificateInStore(roots, X509_ASN_ENCODING | PKCS_7_ASN_ENCODING, 0,
                                                       CERT_FIND_EXISTING, root, nullptr));
    return static_cast<bool>(found);
}

// The address `host` writes, in network order; empty when it is a name.
std::string AddressOf(const std::wstring& host) {
    in_addr v4{};
    if (InetPtonW(AF_INET, host.c_str(), &v4) == 1) return std::string(reinterpret_cast<const char*>(&v4), sizeof v4);
    in6_addr v6{};
    if (InetPtonW(AF_INET6, host.c_str(), &v6) == 1) return std::string(reinterpret_cast<const char*>(&v6), sizeof v6);
    return {};
}

// Whether the certificate lists `address` among its subject's other names. The system's
// check compares names only (Wine's does), so a server typed as an address is matched here.
bool NamesAddress(const CERT_CONTEXT& certificate, const std::string& address) {
    const CERT_INFO& info = *certificate.pCertInfo;
    const CERT_EXTENSION* extension = CertFindExtension(szOID_SUBJECT_ALT_NAME2, info.cExtension, info.rgExtension);
    if (!extension) return false;
    CERT_ALT_NAME_INFO* decoded = nullptr;
    DWORD size = 0;
    if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_ALTERNATE_NAME, extension->Value.pbData, extension->Value.cbData,
                             CRYPT_DECODE_ALLOC_FLAG, nullptr, &decoded, &size))
        return false;
    const LocalMemory<CERT_ALT_NAME_INFO> names(decoded);
    for (DWORD i = 0; i < decoded->cAltEntry; ++i) {
        const CERT_ALT_NAME_ENTRY& entry = decoded->rgAltEntry[i];
        if (entry.dwAltNameChoice != CERT_ALT_NAME_IP_ADDRESS) continue;
        if (std::string_view(reinterpret_cast<const char*>(entry.IPAddress.pbData), entry.IPAddress.cbData) == address)
            return true;
    }
    return false;
}

// The chain must end in a root the system trusts, or in one of `extraRoots`; the certificate
// must name `host`.
Status CheckCertificate(PCCERT_CONTEXT server, const std::wstring& host, HCERTSTORE extraRoots) {
    Store pool(CertOpenStore(CERT_STORE_PROV_COLLECTION, 0, 0, 0, nullptr));
    if (!pool) return Status::Fail(texts::CertificateUntrusted(SystemReason(GetLastError())));
    CertAddStoreToCollection(pool.get(), server->hCertStore, 0, 0);  // what the server sent along
    if (extraRoots) CertAddStoreToCollection(pool.get(), extraRoots, 0, 0);

    char serverAuthentication[] = szOID_PKIX_KP_SERVER_AUTH;
    LPSTR usages[] = {serverAuthentication};
    CERT_CHAIN_PARA request{};
    request.cbSize = sizeof request;
    request.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    request.RequestedUsage.Usage.cUsageIdentifier = 1;
    request.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
    PCCERT_CHAIN_CONTEXT built = nullptr;
    if (!CertGetCertificateChain(nullptr, server, nullptr, pool.get(), &request, 0, nullptr, &built))
        return Status::Fail(texts::CertificateUntrusted(SystemReason(GetLastError())));
    const Chain chain(built);

    DWORD problems = built->TrustStatus.dwErrorStatus & ~kNotChecked;
    const bool rootFromCaFile = (problems & CERT_TRUST_IS_UNTRUSTED_ROOT) && EndsInOneOf(*built, extraRoots);
    if (rootFromCaFile) problems &= ~static_cast<DWORD>(CERT_TRUST_IS_UNTRUSTED_ROOT);
    // The chain's own verdict is read first: not every implementation of the policy check
    // below refuses a chain that reaches no root at all.
    if (problems != 0) return Status::Fail(texts::CertificateUntrusted(ChainProblem(problems)));

    SSL_EXTRA_CERT_CHAIN_POLICY_PARA tls{};
    tls.cbSize = sizeof tls;
    tls.dwAuthType = AUTHTYPE_SERVER;
    const std::string address = AddressOf(host);
    tls.fdwChecks = (rootFromCaFile ? kIgnoreUnknownCa : 0) | (address.empty() ? 0 : kIgnoreNameMismatch);
    std::wstring name = host;
    tls.pwszServerName = name.data();
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.dwFlags = rootFromCaFile ? CERT_CHAIN_POLICY_ALLOW_UNKNOWN_CA_FLAG : 0;
    policy.pvExtraPolicyPara = &tls;
    CERT_CHAIN_POLICY_STATUS verdict{};
    verdict.cbSize = sizeof verdict;
    if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain.get(), &policy, &verdict))
        return Status::Fail(texts::CertificateUntrusted(SystemReason(GetLastError())));
    const bool nameMatches =
        address.empty() ? verdict.dwError != static_cast<DWORD>(CERT_E_CN_NO_MATCH) : NamesAddress(*server, address);
    if (!nameMatches)
        return Status::Fail(texts::CertificateNameMismatch(texts::CertificateIsForAnotherHost(Narrow(host))));
    if (verdict.dwError != 0) return Status::Fail(texts::CertificateUntrusted(SystemReason(verdict.dwError)));
    return Status::Ok();
}

class SchannelStream final : public ByteStream {
public:
    SchannelStream(ByteStream& transport, std::wstring host) : transport_(transport), host_(std::move(host)) {}
    SchannelStream(const SchannelStream&) = delete;
    SchannelStream& operator=(const SchannelStream&) = delete;

    Status Handshake(HCERTSTORE extraRoots, TimePoint deadline) {
        SCHANNEL_CRED settings{};
        settings.dwVersion = SCHANNEL_CRED_VERSION;
        // The certificate is checked below, against the roots the user added as well.
        settings.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
        wchar_t package[] = UNISP_NAME_W;
        const SECURITY_STATUS acquired = AcquireCredentialsHandleW(
            nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &settings, nullptr, nullptr, credentials_.get(), nullptr);
        if (acquired != SEC_E_OK) return Status::Fail(texts::TlsFailed(SystemReason(acquired)));
        credentials_.Adopt();

        OutputToken hello;
        DWORD granted = 0;
        const SECURITY_STATUS started =
            InitializeSecurityContextW(credentials_.get(), nullptr, host_.data(), kContextRequest, 0, 0, nullptr, 0,
                                       context_.get(), &hello.description, &granted, nullptr);
        if (started != SEC_I_CONTINUE_NEEDED) return Status::Fail(texts::TlsFailed(SystemReason(started)));
        context_.Adopt();
        if (Status sent = hello.SendTo(transport_); !sent) return sent;
        if (Status negotiated = Negotiate(true, deadline); !negotiated) return negotiated;

        if (const SECURITY_STATUS sized = QueryContextAttributesW(context_.get(), SECPKG_ATTR_STREAM_SIZES, &sizes_);
            sized != SEC_E_OK)
            return Status::Fail(texts::TlsFailed(SystemReason(sized)));
        PCCERT_CONTEXT presented = nullptr;
        if (QueryContextAttributesW(context_.get(), SECPKG_ATTR_REMOTE_CERT_CONTEXT, &presented) != SEC_E_OK ||
            !presented)
            return Status::Fail(texts::CertificateUntrusted("服务器没有出示证书"));
        const Certificate certificate(presented);
        return CheckCertificate(certificate.get(), host_, extraRoots);
    }

    Status SendAll(std::string_view bytes) override {
        while (!bytes.empty()) {
            const std::size_t size = std::min<std::size_t>(bytes.size(), sizes_.cbMaximumMessage);
            std::string record(sizes_.cbHeader + size + sizes_.cbTrailer, '\0');
            record.replace(sizes_.cbHeader, size, bytes.data(), size);
            SecBuffer parts[4] = {{sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
                                  {static_cast<unsigned long>(size), SECBUFFER_DATA, record.data() + sizes_.cbHeader},
                                  {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER, record.data() + sizes_.cbHeader + size},
                                  {0, SECBUFFER_EMPTY, nullptr}};
            SecBufferDesc description{SECBUFFER_VERSION, 4, parts};
            if (const SECURITY_STATUS sealed = EncryptMessage(context_.get(), 0, &description, 0); sealed != SEC_E_OK)
                return Status::Fail(texts::TlsFailed(SystemReason(sealed)));
            record.resize(parts[0].cbBuffer + parts[1].cbBuffer + parts[2].cbBuffer);
            if (Status sent = transport_.SendAll(record); !sent) return sent;
            bytes.remove_prefix(size);
        }
        return Status::Ok();
    }

    Result<std::string> ReceiveSome(TimePoint deadline) override {
        for (;;) {
            if (!plain_.empty()) return std::exchange(plain_, std::string());
            if (!encrypted_.empty()) {
                SecBuffer parts[4] = {
                    {static_cast<unsigned long>(encrypted_.size()), SECBUFFER_DATA, encrypted_.data()},
                    {0, SECBUFFER_EMPTY, nullptr},
                    {0, SECBUFFER_EMPTY, nullptr},
                    {0, SECBUFFER_EMPTY, nullptr}};
                SecBufferDesc description{SECBUFFER_VERSION, 4, parts};
                const SECURITY_STATUS opened = DecryptMessage(context_.get(), &description, 0, nullptr);
                if (opened == SEC_I_CONTEXT_EXPIRED) return Status::Fail(texts::TlsFailed("服务器关闭了加密连接"));
                if (opened != SEC_E_OK && opened != SEC_I_RENEGOTIATE && opened != SEC_E_INCOMPLETE_MESSAGE)
                    return Status::Fail(texts::TlsFailed(SystemReason(opened)));
                if (opened != SEC_E_INCOMPLETE_MESSAGE) {
                    std::string rest;
                    for (const SecBuffer& part : parts) {
                        const char* data = static_cast<const char*>(part.pvBuffer);
                        if (part.BufferType == SECBUFFER_DATA && data) plain_.append(data, part.cbBuffer);
                        if (part.BufferType == SECBUFFER_EXTRA && data) rest.assign(data, part.cbBuffer);
                    }
                    encrypted_ = std::move(rest);
                    // The server wants to talk handshake again (TLS 1.3 sends its tickets so).
                    if (opened == SEC_I_RENEGOTIATE)
                        if (Status negotiated = Negotiate(false, deadline); !negotiated) return negotiated;
                    continue;
                }
            }
            if (Status fed = Feed(deadline); !fed) return fed;
        }
    }

private:
    Status Feed(TimePoint deadline) {
        Result<std::string> received = transport_.ReceiveSome(deadline);
        if (!received) return received.status();
        encrypted_ += *received;
        return Status::Ok();
    }

    // Runs the handshake on with what the server sends until the package is content.
    // `waitFirst`: nothing of the server's is buffered yet, so its answer is awaited first.
    Status Negotiate(bool waitFirst, TimePoint deadline) {
        bool needMore = waitFirst;
        for (;;) {
            if (needMore)
                if (Status fed = Feed(deadline); !fed) return fed;
            SecBuffer input[2] = {{static_cast<unsigned long>(encrypted_.size()), SECBUFFER_TOKEN, encrypted_.data()},
                                  {0, SECBUFFER_EMPTY, nullptr}};
            SecBufferDesc inputDescription{SECBUFFER_VERSION, 2, input};
            OutputToken answer;
            DWORD granted = 0;
            const SECURITY_STATUS status =
                InitializeSecurityContextW(credentials_.get(), context_.get(), host_.data(), kContextRequest, 0, 0,
                                           &inputDescription, 0, nullptr, &answer.description, &granted, nullptr);
            needMore = true;
            if (status == SEC_E_INCOMPLETE_MESSAGE) continue;
            if (Status sent = answer.SendTo(transport_); !sent) return sent;
            if (FAILED(status)) return Status::Fail(texts::TlsFailed(SystemReason(status)));
            if (input[1].BufferType == SECBUFFER_EXTRA)
                encrypted_.erase(0, encrypted_.size() - input[1].cbBuffer);
            else
                encrypted_.clear();
            if (status == SEC_E_OK) return Status::Ok();
            // Bytes left over are the next handshake message; a request for a certificate of
            // ours (SEC_I_INCOMPLETE_CREDENTIALS) is answered by going on without one.
            needMore = encrypted_.empty();
        }
    }

    ByteStream& transport_;
    std::wstring host_;
    // Declared in this order so that the context goes before the credentials it was made with.
    Credentials credentials_;
    SecurityContext context_;
    SecPkgContext_StreamSizes sizes_{};
    std::string encrypted_;  // received, not yet decrypted
    std::string plain_;      // decrypted, not yet handed out
};

}  // namespace

Result<std::unique_ptr<ByteStream>> StartTls(ByteStream& transport, const std::string& hostName, const TlsTrust& trust,
                                             TimePoint deadline) {
    Store extraRoots;
    if (!trust.caFile.empty()) {
        Result<Store> loaded = LoadRoots(trust.caFile);
        if (!loaded) return loaded.status();
        extraRoots = std::move(*loaded);
    }
    auto stream = std::make_unique<SchannelStream>(transport, Widen(hostName));
    if (Status shaken = stream->Handshake(extraRoots.get(), deadline); !shaken) return shaken;
    return std::unique_ptr<ByteStream>(std::move(stream));
}

}  // namespace quilvane::mail
