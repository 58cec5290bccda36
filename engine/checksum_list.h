#pragma once
// BASE.sha256, written by a split beside its descriptor: for every piece, in order, its
// SHA-256 in 64 lowercase hexadecimal digits, two blanks and its file name, then CR LF. That
// is what sha256sum -c and similar tools read, so the pieces can be checked without this program.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "status.h"

namespace quilvane {

// The list's name beside a descriptor's or a source's base name.
inline std::string ChecksumListName(const std::string& base) { return base + ".sha256"; }

// The list beside a descriptor: the same folder and base name.
std::string ChecksumListPath(const std::string& descriptorPath);

// `digests[i]` belongs to piece i + 1.
std::string ChecksumListText(const std::vector<std::string>& digests);

struct ListedPiece {
    std::string digest;
    std::string name;
};
// Every line of a list; fails (with the reason, for the caller to wrap) when a line is not of
// the format above. A line that ends in LF alone is taken too.
Result<std::vector<ListedPiece>> ParseChecksumList(std::string_view text);

// The digests of the `pieceCount` pieces 001.pe … in order; fails when the list names others.
Result<std::vector<std::string>> DigestsOfPieces(const std::vector<ListedPiece>& listed, std::uint64_t pieceCount);

// No list of `pieceCount` pieces is longer: the bound on what is read of one.
std::uint64_t LongestChecksumList(std::uint64_t pieceCount);

// The digests of a descriptor's `pieceCount` pieces from the list beside it; the failure names
// the list and says that removing it merges without checking.
Result<std::vector<std::string>> ReadPieceDigests(const std::string& descriptorPath, std::uint64_t pieceCount);

}  // namespace quilvane
