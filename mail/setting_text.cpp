#include "setting_text.h"

namespace quilvane::mail {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool SurvivesAsItIs(std::string_view text) {
    if (text.find_first_of("\r\n") != std::string_view::npos) return false;
    if (text.substr(0, kEscapedMarker.size()) == kEscapedMarker) return false;
    if (!text.empty() && (IsBlank(text.front()) || IsBlank(text.back()))) return false;
    const bool quoted = text.size() >= 2 && text.front() == text.back() && (text.front() == '"' || text.front() == '\'');
    return !quoted;
}

}  // namespace

std::string EncodeSettingValue(std::string_view text) {
    if (SurvivesAsItIs(text)) return std::string(text);
    std::string stored(kEscapedMarker);
    const std::size_t lastKept = text.find_last_not_of(" \t");
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool trailing = lastKept == std::string_view::npos || i > lastKept;
        if (c == '\\') stored += "\\\\";
        else if (c == '\r') stored += "\\r";
        else if (c == '\n') stored += "\\n";
        else if (trailing && c == ' ') stored += "\\s";
        else if (trailing && c == '\t') stored += "\\t";
        else stored += c;
    }
    return stored;
}

std::string DecodeSettingValue(std::string_view stored) {
    if (stored.substr(0, kEscapedMarker.size()) != kEscapedMarker) return std::string(stored);
    std::string text;
    for (std::size_t i = kEscapedMarker.size(); i < stored.size(); ++i) {
        if (stored[i] != '\\' || i + 1 == stored.size()) {
            text += stored[i];
            continue;
        }
        switch (stored[++i]) {
        case 'r': text += '\r'; break;
        case 'n': text += '\n'; break;
        case 's': text += ' '; break;
        case 't': text += '\t'; break;
        case '\\': text += '\\'; break;
        default: text += '\\', text += stored[i];  // not ours: kept as written
        }
    }
    return text;
}

}  // namespace quilvane::mail
