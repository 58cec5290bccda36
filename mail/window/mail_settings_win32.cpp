#include "mail_settings.h"

#include <windows.h>

#include <vector>

#include "codepage.h"
#include "setting_text.h"
#include "utf16.h"

namespace quilvane::mail {
namespace {

constexpr const wchar_t* kSection = L"mains";

// A value as the settings file keeps it whole, in the code page the profile functions write.
std::string Stored(const std::string& text) { return EncodeSettingValue(text, SystemCodePageHolds); }

}  // namespace

std::string MailSettings::Read(const char* key) const {
    const std::wstring file = Widen(file_), name = Widen(key);
    // The profile function says a value did not fit by filling the buffer to the last place.
    for (std::vector<wchar_t> value(1024);; value.resize(value.size() * 4)) {
        const DWORD length = GetPrivateProfileStringW(kSection, name.c_str(), L"", value.data(),
                                                      static_cast<DWORD>(value.size()), file.c_str());
        if (length + 1 < value.size()) return Narrow(std::wstring_view(value.data(), length));
    }
}

void MailSettings::Write(const char* key, const std::string& value) const {
    WritePrivateProfileStringW(kSection, Widen(key).c_str(), Widen(value).c_str(), Widen(file_).c_str());
}

MailFields MailSettings::Load() const {
    MailFields fields;
    fields.recipient = DecodeSettingValue(Read("ta"));
    fields.sender = DecodeSettingValue(Read("ta1"));
    fields.user = DecodeSettingValue(Read("ta2"));
    fields.password = PasswordFromSetting(vault_, Read("ta3"));
    fields.subject = DecodeSettingValue(Read("ta4"));
    fields.body = DecodeSettingValue(Read("ta5"));
    fields.attachmentPath = DecodeSettingValue(Read("ta6"));
    fields.server = DecodeSettingValue(Read("ta7"));
    return fields;
}

bool MailSettings::Save(const MailFields& fields) const {
    const std::optional<std::string> password = ProtectedSetting(vault_, fields.password);
    Write("ta", Stored(fields.recipient));
    Write("ta1", Stored(fields.sender));
    Write("ta2", Stored(fields.user));
    Write("ta3", password.value_or(""));
    Write("ta4", Stored(fields.subject));
    Write("ta5", Stored(fields.body));
    Write("ta6", Stored(fields.attachmentPath));
    Write("ta7", Stored(fields.server));
    return password.has_value();
}

}  // namespace quilvane::mail
