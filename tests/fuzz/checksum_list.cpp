// Checksum lists as anyone may leave one beside a descriptor. One that reads holds 64 lowercase
// hexadecimal digits and a name a line; the digits of pieces 001.pe … written again read the same.

#include "checksum_list.h"
#include "fuzz_promise.h"

using namespace quilvane;
using fuzz::Promise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Result<std::vector<ListedPiece>> listed = ParseChecksumList(fuzz::Text(data, size));
    if (!listed) return 0;
    std::vector<std::string> digests;
    for (const ListedPiece& piece : *listed) {
        Promise(piece.digest.size() == 64 && piece.digest.find_first_not_of("0123456789abcdef") == std::string::npos,
                "a digest is 64 lowercase hexadecimal digits");
        Promise(!piece.name.empty() && piece.name.find_first_of("\r\n") == std::string::npos, "a name is one line");
        digests.push_back(piece.digest);
    }
    const Result<std::vector<ListedPiece>> again = ParseChecksumList(ChecksumListText(digests));
    Promise(again && again->size() == digests.size(), "a list written again reads the same");
    const Result<std::vector<std::string>> pieces = DigestsOfPieces(*again, digests.size());
    Promise(pieces && *pieces == digests, "a list written for the pieces names them in order");
    return 0;
}
