#include "formats.h"

#include <cstdio>
#include <limits>

#include "codepage.h"
#include "descriptor_key.h"
#include "paths.h"
#include "platform_file.h"
#include "scramble.h"
#include "output_moves.h"
#include "staged_files.h"
#include "texts.h"
#include "whole_file.h"

namespace quilvane {
namespace {

constexpr std::uint64_t kKilo = 1024;
constexpr std::uint64_t kMega = 1024 * 1024;
// A descriptor is one short line.
constexpr std::uint64_t kLongestDescriptor = 64 * 1024;
// The field's positions are counted in 16 signed bits.
constexpr std::size_t kLongestField = 32767;

// Digits only, no sign, within 64 bits.
bool ParseNumber(const std::string& text, std::uint64_t& value) {
    if (text.empty()) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        const unsigned digit = static_cast<unsigned>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

// cmd splits a command at these; a path holding one must be quoted.
bool NeedsQuotes(const std::string& path) { return path.find_first_of(" \t&()[]{}^=;!'+,`~") != std::string::npos; }

// A path as one argument of a batch line: quoted where needed, and "%" doubled because a
// batch file expands it even inside quotes.
Result<std::string> BatchArgument(const std::string& path) {
    Result<std::string> ansi = ToAnsi(path);
    if (!ansi) return Status::Fail(texts::PathNotRepresentable(path));
    std::string argument;
    for (char c : *ansi) {
        argument += c;
        if (c == '%') argument += '%';
    }
    return NeedsQuotes(path) ? "\"" + argument + "\"" : argument;
}

// cmd cuts a batch line after this many characters (bytes never undercount them).
constexpr std::size_t kLongestBatchLine = 8191;

// "copy A/b + B/b DEST" in one line while it fits; past that, the first line copies what fits
// into DEST and each further one appends the next sources to it ("copy DEST/b + C/b DEST"), so
// no line is cut and no source is ever a destination.
Result<std::string> CopyLines(const std::vector<std::string>& sources, const std::string& destination) {
    Result<std::string> target = BatchArgument(destination);
    if (!target) return target.status();
    std::string lines, line = "copy ";
    bool lineHasSources = false;
    for (const std::string& source : sources) {
        Result<std::string> argument = BatchArgument(source);
        if (!argument) return argument.status();
        const std::string next = (lineHasSources ? " + " : "") + *argument + "/b";
        if (lineHasSources && line.size() + next.size() + 1 + target->size() > kLongestBatchLine) {
            lines += line + " " + *target + "\r\n";
            line = "copy " + *target + "/b + " + *argument + "/b";
        } else {
            line += next;
        }
        lineHasSources = true;
        if (line.size() + 1 + target->size() > kLongestBatchLine)
            return Status::Fail(texts::BatchLineTooLong(argument->size() >= target->size() ? source : destination));
    }
    return lines + line + " " + *target + "\r\n";
}

}  // namespace

std::string PieceFileName(std::uint64_t number) {
    char name[32];
    std::snprintf(name, sizeof name, "%03llu.pe", static_cast<unsigned long long>(number));
    return name;
}

Result<std::string> DescriptorNameBytes(const std::string& name) {
    if (name.find('?') != std::string::npos) return Status::Fail(texts::NameHasQuestionMark(name));
    Result<std::string> ansi = ToAnsi(name);
    if (!ansi) return Status::Fail(texts::NameNotRepresentable(name));
    return ansi;
}

Result<std::string> MergeDescriptorLine(const std::string& name, const std::string& sizeText, char unit,
                                        std::uint64_t blockCount, std::uint64_t sourceLength) {
    Result<std::string> nameBytes = DescriptorNameBytes(name);
    if (!nameBytes) return nameBytes;
    const std::string plain = sizeText + unit + ":" + std::to_string(blockCount) + ":" + std::to_string(sourceLength);
    return *nameBytes + "?" + ScrambleText(plain, DescriptorKey()) + "\r\n";
}

Status WriteMergeDescriptor(const std::string& path, const std::string& name, const std::string& sizeText, char unit,
                            std::uint64_t blockCount, std::uint64_t sourceLength) {
    Result<std::string> line = MergeDescriptorLine(name, sizeText, unit, blockCount, sourceLength);
    if (!line) return line.status();
    return WriteTextFile(path, *line);
}

Result<MergeDescriptor> ReadMergeDescriptor(const std::string& path) {
    // Anything far longer than one line is some other file, and the message says so.
    if (Result<std::uint64_t> length = FileLength(path); length && *length > kLongestDescriptor)
        return Status::Fail(texts::DescriptorMalformed(path, texts::kBadFields));
    Result<std::string> bytes = ReadWholeFile(path, kLongestDescriptor);
    if (!bytes) return bytes.status();
    return ParseMergeDescriptor(*bytes, path);
}

Result<MergeDescriptor> ParseMergeDescriptor(std::string_view bytes, const std::string& path) {
    auto malformed = [&](const char* what) { return Status::Fail(texts::DescriptorMalformed(path, what)); };
    // No byte of a code-page character is "?", so the first one ends the name.
    const std::size_t separator = bytes.find('?');
    if (separator == std::string::npos) return malformed(texts::kNoSeparator);
    if (separator == 0) return malformed(texts::kNoFileName);
    MergeDescriptor descriptor{FromAnsi(bytes.substr(0, separator)), "", 0, 0, 0};

    const std::string plain = UnscrambleText(UnweaveText(bytes.substr(separator + 1), false), DescriptorKey());
    if (plain.size() > kLongestField) return malformed(texts::kBadFields);
    const std::size_t firstColon = plain.find(':');
    const std::size_t secondColon = plain.find(':', firstColon == std::string::npos ? 0 : firstColon + 1);
    if (firstColon == std::string::npos || secondColon == std::string::npos || firstColon == 0)
        return malformed(texts::kBadFields);
    descriptor.sizeText = plain.substr(0, firstColon);
    const char unit = descriptor.sizeText.back();
    if (unit != 'k' && unit != 'm') return malformed(texts::kBadUnit);
    std::uint64_t value = 0;
    if (!ParseNumber(descriptor.sizeText.substr(0, firstColon - 1), value) ||
        !ParseNumber(plain.substr(firstColon + 1, secondColon - firstColon - 1), descriptor.blockCount) ||
        !ParseNumber(plain.substr(secondColon + 1), descriptor.sourceLength))
        return malformed(texts::kBadFields);
    const std::uint64_t scale = unit == 'k' ? kKilo : kMega;
    if (value > std::numeric_limits<std::uint64_t>::max() / scale) return malformed(texts::kBadFields);
    descriptor.pieceSize = value * scale;
    if (descriptor.pieceSize == 0 || descriptor.blockCount == 0 || descriptor.sourceLength == 0)
        return malformed(texts::kZeroField);
    return descriptor;
}

Result<std::string> SplitBatchLine(const std::vector<std::string>& pieceNames, const std::string& targetFolder,
                                   const std::string& name) {
    return CopyLines(pieceNames, targetFolder + name);
}

Result<std::string> ListMergeBatchLine(const std::vector<std::string>& paths, const std::string& targetFolder,
                                       const std::string& base) {
    return CopyLines(paths, targetFolder + base + ".txt");
}

Status WriteTextFile(const std::string& path, const std::string& bytes) {
    Result<TakenFolder> folder = TakeFolder(FolderOf(path), FolderLock::Use::Write);
    if (!folder) return folder.status();
    // A few bytes, written and moved at once: nothing to stop.
    static const StopFlag kNeverStopped;
    StagedFiles staged(folder->lock, kNeverStopped);
    if (Status planned = staged.Plan(NameOf(path)); !planned) return planned;
    if (Status written = staged.Write(0, bytes); !written) return written;
    return staged.Commit();
}

}  // namespace quilvane
