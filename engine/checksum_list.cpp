#include "checksum_list.h"

#include "formats.h"
#include "paths.h"
#include "texts.h"
#include "whole_file.h"

namespace quilvane {
namespace {

constexpr std::size_t kDigestDigits = 64;

bool IsLowercaseHex(std::string_view text) {
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

}  // namespace

std::string ChecksumListPath(const std::string& descriptorPath) {
    return FolderOf(descriptorPath) + ChecksumListName(BaseOf(descriptorPath));
}

std::string ChecksumListText(const std::vector<std::string>& digests) {
    std::string text;
    for (std::size_t i = 0; i < digests.size(); ++i) text += digests[i] + "  " + PieceFileName(i + 1) + "\r\n";
    return text;
}

Result<std::vector<ListedPiece>> ParseChecksumList(std::string_view text) {
    std::vector<ListedPiece> listed;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) return Status::Fail(texts::kListNotAList);
        std::string_view line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() <= kDigestDigits + 2 || line.substr(kDigestDigits, 2) != "  " ||
            !IsLowercaseHex(line.substr(0, kDigestDigits)) || line.find('\r') != std::string_view::npos)
            return Status::Fail(texts::kListNotAList);
        listed.push_back({std::string(line.substr(0, kDigestDigits)), std::string(line.substr(kDigestDigits + 2))});
    }
    return listed;
}

Result<std::vector<std::string>> DigestsOfPieces(const std::vector<ListedPiece>& listed, std::uint64_t pieceCount) {
    if (listed.size() != pieceCount) return Status::Fail(texts::kListNamesOtherPieces);
    std::vector<std::string> digests;
    digests.reserve(listed.size());
    for (std::size_t i = 0; i < listed.size(); ++i) {
        if (listed[i].name != PieceFileName(i + 1)) return Status::Fail(texts::kListNamesOtherPieces);
        digests.push_back(listed[i].digest);
    }
    return digests;
}

std::uint64_t LongestChecksumList(std::uint64_t pieceCount) {
    // A digest, two blanks, a piece name of at most 23 characters, CR LF.
    return pieceCount * (kDigestDigits + 2 + 23 + 2);
}

Result<std::vector<std::string>> ReadPieceDigests(const std::string& descriptorPath, std::uint64_t pieceCount) {
    const std::string path = ChecksumListPath(descriptorPath);
    auto unusable = [&path](const std::string& reason) {
        return Status::Fail(texts::ChecksumListUnreadable(path, reason));
    };
    Result<std::string> text = ReadWholeFile(path, LongestChecksumList(pieceCount));
    if (!text) return unusable(text.message());
    Result<std::vector<ListedPiece>> listed = ParseChecksumList(*text);
    if (!listed) return unusable(listed.message());
    Result<std::vector<std::string>> digests = DigestsOfPieces(*listed, pieceCount);
    if (!digests) return unusable(digests.message());
    return digests;
}

}  // namespace quilvane
