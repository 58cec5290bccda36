#pragma once
// Calls on an automation object by member name, resolved when the call is made, with
// automation values owned by RAII. Windows only.

#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "owned.h"
#include "status.h"

namespace quilvane::mail {

inline void ReleaseObject(IDispatch* object) { object->Release(); }
// An automation object this code holds one reference to.
using HeldObject = Owned<IDispatch*, ReleaseObject>;

class Variant {
public:
    Variant() { VariantInit(&value_); }
    static Variant Text(const std::string& utf8);
    static Variant Short(short number);
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&value_); }

    VARIANT* get() { return &value_; }
    const VARIANT& value() const { return value_; }

private:
    VARIANT value_;
};

// Invokes `member` of `object` as `kind` (DISPATCH_METHOD, DISPATCH_PROPERTYGET or
// DISPATCH_PROPERTYPUT, where the last argument is the value put) with the arguments in the
// order they are written in a call. Fails with the member's name and the object's own
// description of the error.
Result<Variant> CallByName(IDispatch& object, const wchar_t* member, WORD kind, std::vector<Variant> arguments = {});

}  // namespace quilvane::mail
