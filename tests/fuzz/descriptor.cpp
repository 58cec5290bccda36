// Merge descriptors as anyone may write them. One that reads is written again by the program
// with the same fields; any bytes scrambled with the key unscramble to themselves.

#include "descriptor_key.h"
#include "formats.h"
#include "fuzz_promise.h"
#include "scramble.h"

using namespace quilvane;
using fuzz::Promise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Text(data, size);
    const std::string key = DescriptorKey();
    Promise(UnscrambleText(UnweaveText(ScrambleText(bytes, key), true), key) == bytes,
            "scrambled bytes unscramble to themselves");

    const Result<MergeDescriptor> read = ParseMergeDescriptor(bytes, "fuzz.hpe");
    if (!read) {
        Promise(read.message().find("fuzz.hpe") != std::string::npos, "a refusal names the descriptor");
        return 0;
    }
    const std::string& sizeText = read->sizeText;
    Promise(read->pieceSize > 0 && read->blockCount > 0 && read->sourceLength > 0, "no field read is 0");
    // A name holding "?" stands for bytes of no code-page character, which the program never writes.
    const Result<std::string> line = MergeDescriptorLine(read->name, sizeText.substr(0, sizeText.size() - 1),
                                                         sizeText.back(), read->blockCount, read->sourceLength);
    Promise(line || read->name.find('?') != std::string::npos, "every name read can be written again");
    if (!line) return 0;
    const Result<MergeDescriptor> again = ParseMergeDescriptor(*line, "fuzz.hpe");
    Promise(again && again->name == read->name && again->sizeText == sizeText && again->pieceSize == read->pieceSize &&
                again->blockCount == read->blockCount && again->sourceLength == read->sourceLength,
            "a descriptor written again reads the same");
    return 0;
}
