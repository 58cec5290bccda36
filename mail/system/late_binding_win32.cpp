#include "late_binding.h"

#include <utility>

#include "mail_texts.h"
#include "system_reason.h"
#include "utf16.h"

namespace quilvane::mail {
namespace {

inline void FreeText(BSTR text) { SysFreeString(text); }
using OwnedText = Owned<BSTR, FreeText>;

// What went wrong, as the object explained it if it did.
std::string ReasonOf(HRESULT result, EXCEPINFO& exception) {
    if (result == DISP_E_EXCEPTION && exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
    const OwnedText source(exception.bstrSource), description(exception.bstrDescription), help(exception.bstrHelpFile);
    std::string reason;
    if (result == DISP_E_EXCEPTION && exception.bstrDescription && SysStringLen(exception.bstrDescription) > 0)
        reason = Narrow(std::wstring_view(exception.bstrDescription, SysStringLen(exception.bstrDescription)));
    else
        reason = SystemReason(static_cast<unsigned long>(result == DISP_E_EXCEPTION ? exception.scode : result));
    return reason;
}

}  // namespace

Variant Variant::Text(const std::string& utf8) {
    Variant text;
    const std::wstring wide = Widen(utf8);
    text.value_.vt = VT_BSTR;
    text.value_.bstrVal = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return text;
}

Variant Variant::Short(short number) {
    Variant value;
    value.value_.vt = VT_I2;
    value.value_.iVal = number;
    return value;
}

Variant::Variant(Variant&& other) noexcept : value_(other.value_) { VariantInit(&other.value_); }

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        VariantClear(&value_);
        value_ = other.value_;
        VariantInit(&other.value_);
    }
    return *this;
}

Result<Variant> CallByName(IDispatch& object, const wchar_t* member, WORD kind, std::vector<Variant> arguments) {
    const std::string name = Narrow(member);
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(member)};
    if (const HRESULT found = object.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); FAILED(found))
        return Status::Fail(texts::ComponentFailed(name, SystemReason(static_cast<unsigned long>(found))));

    // Automation takes the arguments last first.
    std::vector<VARIANT> reversed;
    for (auto argument = arguments.rbegin(); argument != arguments.rend(); ++argument)
        reversed.push_back(argument->value());
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{reversed.data(), kind == DISPATCH_PROPERTYPUT ? &putId : nullptr,
                          static_cast<UINT>(reversed.size()), kind == DISPATCH_PROPERTYPUT ? 1u : 0u};
    Variant result;
    EXCEPINFO exception{};
    UINT wrongArgument = 0;
    const HRESULT invoked =
        object.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                      kind == DISPATCH_PROPERTYPUT ? nullptr : result.get(), &exception, &wrongArgument);
    if (FAILED(invoked)) return Status::Fail(texts::ComponentFailed(name, ReasonOf(invoked, exception)));
    return result;
}

}  // namespace quilvane::mail
