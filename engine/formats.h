#pragma once
// The files the engine writes and reads: numbered pieces, the one-line merge descriptor
// (".hpe") and the batch files that rejoin pieces with the system's own copy command.
// Text files are one line ending in CR LF, in the ANSI code page.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "status.h"

namespace quilvane {

// 1 gives "001.pe", 1000 gives "1000.pe".
std::string PieceFileName(std::uint64_t number);

// The descriptor's name field in the code page; refused when it cannot be read back as
// the same name (a character the code page lacks, or the "?" that ends the field).
Result<std::string> DescriptorNameBytes(const std::string& name);

// The one line of a descriptor, line end included.
Result<std::string> MergeDescriptorLine(const std::string& name, const std::string& sizeText, char unit,
                                        std::uint64_t blockCount, std::uint64_t sourceLength);
Status WriteMergeDescriptor(const std::string& path, const std::string& name, const std::string& sizeText, char unit,
                            std::uint64_t blockCount, std::uint64_t sourceLength);

struct MergeDescriptor {
    std::string name;            // the source's file name, no folder
    std::string sizeText;        // piece size as typed, unit letter included ("0100k")
    std::uint64_t pieceSize;     // P
    std::uint64_t blockCount;    // N
    std::uint64_t sourceLength;  // F
};
// Reads and checks a descriptor's fields; the message says what is wrong with it.
Result<MergeDescriptor> ReadMergeDescriptor(const std::string& path);
// The same for a descriptor's bytes; `path` only names it in messages.
Result<MergeDescriptor> ParseMergeDescriptor(std::string_view bytes, const std::string& path);

// "copy 001.pe/b + 002.pe/b T+NAME" with its line end; a path that cmd would take apart
// is quoted. A list too long for one line of cmd is copied over several lines, each appending
// to the result. Fails when a path cannot be written in the code page.
Result<std::string> SplitBatchLine(const std::vector<std::string>& pieceNames, const std::string& targetFolder,
                                   const std::string& name);
// "copy A/b + B/b T+BASE.txt" with its line end.
Result<std::string> ListMergeBatchLine(const std::vector<std::string>& paths, const std::string& targetFolder,
                                       const std::string& base);

// Writes a whole text file through a temporary file, so a failure leaves the old one.
Status WriteTextFile(const std::string& path, const std::string& bytes);

}  // namespace quilvane
