#include "mime_encoding.h"

#include <cstring>

#include "utf8.h"

namespace quilvane::mail {
namespace {

constexpr char kBase64Digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::size_t kBase64LineBytes = 57;  // 76 characters
constexpr std::size_t kQuotedLineLength = 76;
constexpr std::size_t kEncodedWordBytes = 39;       // 52 base64 characters, 64 with the frame
constexpr std::size_t kLongestParameterPiece = 74;  // with the blank before and ";" after: 76

void AppendBase64(std::string& out, std::string_view bytes) {
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const unsigned triple = static_cast<unsigned char>(bytes[i]) << 16 |
                                static_cast<unsigned char>(bytes[i + 1]) << 8 |
                                static_cast<unsigned char>(bytes[i + 2]);
        out += kBase64Digits[triple >> 18];
        out += kBase64Digits[(triple >> 12) & 63];
        out += kBase64Digits[(triple >> 6) & 63];
        out += kBase64Digits[triple & 63];
    }
    if (const std::size_t left = bytes.size() - i; left > 0) {
        unsigned triple = static_cast<unsigned char>(bytes[i]) << 16;
        if (left == 2) triple |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += kBase64Digits[triple >> 18];
        out += kBase64Digits[(triple >> 12) & 63];
        out += left == 2 ? kBase64Digits[(triple >> 6) & 63] : '=';
        out += '=';
    }
}

void AppendHex(std::string& out, char prefix, unsigned char byte) {
    out += prefix;
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 15];
}

bool IsAttributeChar(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
           std::strchr("!#$&+-.^_`|~", c) != nullptr;
}

}  // namespace

std::string Base64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    AppendBase64(out, bytes);
    return out;
}

void AppendBase64Lines(std::string& out, std::string_view bytes) {
    out.reserve(out.size() + (bytes.size() + 2) / 3 * 4 + bytes.size() / kBase64LineBytes * 2 + 2);
    for (std::size_t at = 0; at < bytes.size(); at += kBase64LineBytes) {
        AppendBase64(out, bytes.substr(at, kBase64LineBytes));
        out += "\r\n";
    }
}

std::uint64_t Base64LinesSize(std::uint64_t byteCount) {
    const std::uint64_t fullLines = byteCount / kBase64LineBytes, rest = byteCount % kBase64LineBytes;
    const std::uint64_t lastLine = rest == 0 ? 0 : (rest + 2) / 3 * 4 + 2;
    return fullLines * (kBase64LineBytes / 3 * 4 + 2) + lastLine;
}

std::optional<std::string> DecodeBase64(std::string_view text) {
    std::string bytes;
    unsigned buffer = 0;
    int bits = 0;
    std::size_t padding = 0;
    for (char c : text) {
        if (c == '=') {
            ++padding;
            continue;
        }
        const char* digit = c ? std::strchr(kBase64Digits, c) : nullptr;
        if (!digit || padding > 0) return std::nullopt;
        buffer = (buffer << 6) | static_cast<unsigned>(digit - kBase64Digits);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    if (padding > 2 || (text.size() % 4) != 0) return std::nullopt;
    return bytes;
}

std::string QuotedPrintable(std::string_view text) {
    std::string out;
    std::size_t lineLength = 0;
    auto put = [&](std::string_view piece) {
        // A soft break ("=" at the end) keeps each line within the limit.
        if (lineLength + piece.size() > kQuotedLineLength - 1) {
            out += "=\r\n";
            lineLength = 0;
        }
        out += piece;
        lineLength += piece.size();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "\r\n";
            lineLength = 0;
            ++i;
            continue;
        }
        // Blanks before a line break would be dropped on the way, so they are written as codes.
        const bool lineEndsHere = i + 1 == text.size() || text[i + 1] == '\r';
        const bool literal = (c >= 33 && c <= 126 && c != '=') || ((c == ' ' || c == '\t') && !lineEndsHere);
        if (literal) {
            put(std::string_view(text.data() + i, 1));
        } else {
            std::string code;
            AppendHex(code, '=', c);
            put(code);
        }
    }
    if (lineLength > 0 || out.empty()) out += "\r\n";
    return out;
}

std::vector<std::string> EncodedWords(std::string_view utf8) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t end = at;
        while (end < utf8.size()) {
            const std::size_t next = end + Utf8CharacterAt(utf8, end).length;
            if (next - at > kEncodedWordBytes && end > at) break;
            end = std::min(next, utf8.size());
        }
        words.push_back("=?UTF-8?B?" + Base64(utf8.substr(at, end - at)) + "?=");
        at = end;
    }
    return words;
}

std::vector<std::string> ExtendedParameter(std::string_view name, std::string_view utf8) {
    std::string encoded;
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsAttributeChar(byte))
            encoded += c;
        else
            AppendHex(encoded, '%', byte);
    }
    std::vector<std::string> pieces;
    for (std::size_t at = 0; at < encoded.size() || pieces.empty();) {
        const std::string head =
            std::string(name) + "*" + std::to_string(pieces.size()) + "*=" + (pieces.empty() ? "UTF-8''" : "");
        std::size_t length = std::min(kLongestParameterPiece - head.size(), encoded.size() - at);
        // A %XX code stays in one piece.
        if (at + length < encoded.size()) {
            if (encoded[at + length - 1] == '%')
                length -= 1;
            else if (length >= 2 && encoded[at + length - 2] == '%')
                length -= 2;
        }
        pieces.push_back(head + encoded.substr(at, length));
        at += length;
    }
    return pieces;
}

std::string Quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace quilvane::mail
