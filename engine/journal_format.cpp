#include "journal_format.h"

#include <cstdio>

namespace quilvane {
namespace {

constexpr std::string_view kHeader = "quilvane-moves 1";
constexpr std::string_view kSideMarker = ".quilvane-";

std::string Escaped(const std::string& name) {
    std::string out;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool Unescape(std::string_view field, std::string& name) {
    name.clear();
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '%') {
            name += field[i];
            continue;
        }
        if (i + 2 >= field.size()) return false;
        const int high = HexDigit(field[i + 1]), low = HexDigit(field[i + 2]);
        if (high < 0 || low < 0) return false;
        name += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

std::string IdentityText(const FileIdentity& identity) {
    char text[40];
    std::snprintf(text, sizeof text, "%llx:%llx", static_cast<unsigned long long>(identity.volume),
                  static_cast<unsigned long long>(identity.index));
    return text;
}

bool ParseHex(std::string_view text, std::uint64_t& value) {
    if (text.empty() || text.size() > 16) return false;
    value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned>(digit);
    }
    return true;
}

bool ParseIdentity(std::string_view text, FileIdentity& identity) {
    const std::size_t colon = text.find(':');
    return colon != std::string_view::npos && ParseHex(text.substr(0, colon), identity.volume) &&
           ParseHex(text.substr(colon + 1), identity.index);
}

std::vector<std::string_view> Fields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

// A name of the program's own side files: "NAME.quilvane-PID.tmp" and the like.
bool IsSideName(const std::string& name, std::string_view ending) {
    return IsPlainFileName(name) && name.size() > ending.size() &&
           name.compare(name.size() - ending.size(), ending.size(), ending) == 0 &&
           name.find(kSideMarker) != std::string::npos;
}

bool ParseMove(std::string_view line, PlannedMove& move) {
    const std::vector<std::string_view> fields = Fields(line);
    const bool replaces = fields[0] == "replace";
    if (!(fields[0] == "move" && fields.size() == 4) && !(replaces && fields.size() == 6)) return false;
    if (!Unescape(fields[1], move.finalName) || !Unescape(fields[2], move.temporaryName) ||
        !ParseIdentity(fields[3], move.newFile))
        return false;
    if (!IsPlainFileName(move.finalName) || !IsSideName(move.temporaryName, ".tmp")) return false;
    move.backupName.clear();
    move.oldFile = {};
    if (!replaces) return true;
    return Unescape(fields[4], move.backupName) && IsSideName(move.backupName, ".bak") &&
           ParseIdentity(fields[5], move.oldFile);
}

}  // namespace

std::string JournalText(const std::vector<PlannedMove>& moves) {
    std::string text = std::string(kHeader) + "\n";
    for (const PlannedMove& move : moves) {
        text += move.backupName.empty() ? "move" : "replace";
        text += "\t" + Escaped(move.finalName) + "\t" + Escaped(move.temporaryName) + "\t" + IdentityText(move.newFile);
        if (!move.backupName.empty()) text += "\t" + Escaped(move.backupName) + "\t" + IdentityText(move.oldFile);
        text += "\n";
    }
    return text + "end\n";
}

Result<MoveJournal> ParseJournal(std::string_view text) {
    MoveJournal journal;
    std::size_t at = 0;
    // Only whole lines count: a crash while the journal was written may have cut the last one.
    auto nextLine = [&](std::string_view& line) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) return false;
        line = text.substr(at, end - at);
        at = end + 1;
        return true;
    };
    std::string_view line;
    if (!nextLine(line)) return journal;
    if (line != kHeader) return Status::Fail("开头不对");
    while (nextLine(line)) {
        if (line == "end") {
            journal.complete = true;
            break;
        }
        PlannedMove move;
        if (!ParseMove(line, move)) return Status::Fail("第" + std::to_string(journal.moves.size() + 2) + "行无法识别");
        journal.moves.push_back(std::move(move));
    }
    if (!journal.complete) return journal;
    if (at == text.size()) return journal;
    if (text.substr(at) != kJournalDone) return Status::Fail("结尾不对");
    journal.done = true;
    return journal;
}

}  // namespace quilvane
