#include "addresses.h"

#include "text_util.h"

namespace quilvane::mail {

std::vector<std::string> SplitAddressList(std::string_view field) {
    std::vector<std::string> entries;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= field.size(); ++i) {
        if (i < field.size() && field[i] == '"') quoted = !quoted;
        if (i < field.size() && (quoted || (field[i] != ',' && field[i] != ';'))) continue;
        const std::string_view entry = Trimmed(field.substr(start, i - start));
        if (!entry.empty()) entries.emplace_back(entry);
        start = i + 1;
    }
    return entries;
}

std::string MailboxOf(std::string_view entry) {
    const std::size_t open = entry.rfind('<');
    const std::size_t close = entry.rfind('>');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return std::string(Trimmed(entry));
    return std::string(Trimmed(entry.substr(open + 1, close - open - 1)));
}

std::string DisplayNameOf(std::string_view entry) {
    const std::size_t open = entry.rfind('<');
    if (open == std::string_view::npos || entry.find('>', open) == std::string_view::npos) return {};
    std::string_view name = Trimmed(entry.substr(0, open));
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
    return std::string(name);
}

bool IsUsableMailbox(std::string_view mailbox) {
    if (mailbox.empty() || mailbox.size() > 254) return false;
    for (char c : mailbox) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte >= 0x7F || c == '<' || c == '>') return false;
    }
    return true;
}

}  // namespace quilvane::mail
