#include "cdo_message.h"

#include <utility>

#include "late_binding.h"
#include "mail_texts.h"
#include "utf16.h"

namespace quilvane::mail {
namespace {

constexpr const char* kFieldNamespace = "http://schemas.microsoft.com/cdo/configuration/";
constexpr short kSendThroughNetwork = 2;
constexpr short kServerPort = 25;
constexpr short kClearTextLogin = 1;

Status Put(IDispatch& object, const wchar_t* property, Variant value) {
    std::vector<Variant> arguments;
    arguments.push_back(std::move(value));
    return CallByName(object, property, DISPATCH_PROPERTYPUT, std::move(arguments)).status();
}

Status PutField(IDispatch& fields, const char* name, Variant value) {
    std::vector<Variant> arguments;
    arguments.push_back(Variant::Text(std::string(kFieldNamespace) + name));
    arguments.push_back(std::move(value));
    return CallByName(fields, L"Item", DISPATCH_PROPERTYPUT, std::move(arguments)).status();
}

// The object a property holds, with a reference of the caller's own.
Result<HeldObject> Child(IDispatch& object, const wchar_t* property) {
    Result<Variant> value = CallByName(object, property, DISPATCH_PROPERTYGET);
    if (!value) return value.status();
    if (value->value().vt != VT_DISPATCH || !value->value().pdispVal)
        return Status::Fail(texts::ComponentFailed(Narrow(property), "没有返回对象"));
    IDispatch* child = value->value().pdispVal;
    child->AddRef();
    return HeldObject(child);
}

}  // namespace

Status SendThroughCdo(IDispatch& message, const MailRequest& request, const std::string& host) {
    for (auto [property, text] : {std::pair{L"From", &request.from}, std::pair{L"To", &request.to},
                                  std::pair{L"subject", &request.subject}, std::pair{L"textbody", &request.body}})
        if (Status put = Put(message, property, Variant::Text(*text)); !put) return put;

    const Result<HeldObject> configuration = Child(message, L"configuration");
    if (!configuration) return configuration.status();
    const Result<HeldObject> fieldsObject = Child(*configuration->get(), L"Fields");
    if (!fieldsObject) return fieldsObject.status();
    IDispatch& fields = *fieldsObject->get();

    Status set = PutField(fields, "sendusing", Variant::Short(kSendThroughNetwork));
    if (set) set = PutField(fields, "smtpserver", Variant::Text(host));
    if (set) set = PutField(fields, "smtpserverport", Variant::Short(kServerPort));
    if (set) set = PutField(fields, "smtpauthenticate", Variant::Short(kClearTextLogin));
    if (set) set = PutField(fields, "sendusername", Variant::Text(request.user));
    if (set) set = PutField(fields, "sendpassword", Variant::Text(request.password));
    if (!set) return set;
    if (Status updated = CallByName(fields, L"Update", DISPATCH_METHOD).status(); !updated) return updated;

    for (const std::string& path : request.attachments) {
        std::vector<Variant> arguments;
        arguments.push_back(Variant::Text(path));
        if (Status added = CallByName(message, L"addattachment", DISPATCH_METHOD, std::move(arguments)).status();
            !added)
            return added;
    }
    return CallByName(message, L"send", DISPATCH_METHOD).status();
}

}  // namespace quilvane::mail
