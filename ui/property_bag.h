#pragma once
// Where a window keeps its controls' design-time properties. A control reads each property
// with its default and writes it only when it differs from that default.

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "font.h"

namespace quilvane::ui {

class PropertyBag {
public:
    using Value = std::variant<std::int32_t, bool, double, std::wstring, FontSpec>;

    template <class T>
    T Read(const std::string& name, const T& defaultValue) const {
        const auto found = values_.find(name);
        if (found == values_.end()) return defaultValue;
        const T* stored = std::get_if<T>(&found->second);
        return stored ? *stored : defaultValue;
    }

    template <class T>
    void Write(const std::string& name, const T& value, const T& defaultValue) {
        writeOrder_.push_back(name);
        if (value == defaultValue)
            values_.erase(name);
        else
            values_[name] = value;
    }

    bool Contains(const std::string& name) const { return values_.count(name) != 0; }
    // The names in the order they were last written, stored or not.
    const std::vector<std::string>& writeOrder() const { return writeOrder_; }

private:
    std::map<std::string, Value> values_;
    std::vector<std::string> writeOrder_;
};

}  // namespace quilvane::ui
