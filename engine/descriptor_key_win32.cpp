#include "descriptor_key.h"

#include <windows.h>

#include "string_ids.h"
#include "utf16.h"

namespace quilvane {

std::string DescriptorKey() {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), IDS_DESCRIPTOR_KEY, reinterpret_cast<LPWSTR>(&text), 0);
    // Every executable that links the engine links the string table with it.
    return Narrow(std::wstring_view(text, length > 0 ? static_cast<std::size_t>(length) : 0));
}

}  // namespace quilvane
