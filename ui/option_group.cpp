#include "option_group.h"

#include <algorithm>

namespace quilvane::ui {

void OptionGroup::SetOptions(std::vector<HWND> options) {
    options_ = std::move(options);
    if (!options_.empty()) Select(options_.front());
}

void OptionGroup::Select(HWND option) {
    if (!Contains(option)) return;
    for (HWND each : options_) SendMessageW(each, BM_SETCHECK, each == option ? BST_CHECKED : BST_UNCHECKED, 0);
}

HWND OptionGroup::Selected() const {
    for (HWND each : options_)
        if (SendMessageW(each, BM_GETCHECK, 0, 0) == BST_CHECKED) return each;
    return nullptr;
}

bool OptionGroup::Contains(HWND window) const {
    return window && std::find(options_.begin(), options_.end(), window) != options_.end();
}

HWND OptionGroup::Neighbour(HWND from, bool forward) const {
    const auto at = std::find(options_.begin(), options_.end(), from);
    if (at == options_.end()) return from;
    const std::size_t count = options_.size();
    std::size_t index = static_cast<std::size_t>(at - options_.begin());
    for (std::size_t step = 1; step < count; ++step) {
        index = forward ? (index + 1) % count : (index + count - 1) % count;
        if (IsWindowEnabled(options_[index]) && IsWindowVisible(options_[index])) return options_[index];
    }
    return from;
}

}  // namespace quilvane::ui
