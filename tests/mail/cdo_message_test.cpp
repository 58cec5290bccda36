// The messaging component's path against a recording stand-in: every member name, value and
// value type, in order, exactly as the component would be driven.

#include <windows.h>
#include <oaidl.h>

#include <algorithm>
#include <map>

#include <gtest/gtest.h>

#include "cdo_message.h"
#include "current_user_vault.h"
#include "system_route.h"
#include "utf16.h"

namespace quilvane::mail {
namespace {

// One automation object of the stand-in: it answers any member name and writes each call into
// the shared log as "object.member kind(type:value, ...)". "configuration" and "Fields" hand
// out further stand-ins; a member named in `failing` raises an error with a description.
class RecordingObject final : public IDispatch {
public:
    RecordingObject(std::string label, std::vector<std::string>& log, const std::string& failing)
        : label_(std::move(label)), log_(log), failing_(failing) {}
    virtual ~RecordingObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id != IID_IUnknown && id != IID_IDispatch) return *object = nullptr, E_NOINTERFACE;
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return *count = 0, S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        for (UINT i = 0; i < count; ++i) {
            const std::string name = Narrow(names[i]);
            auto found = ids_.find(name);
            if (found == ids_.end()) found = ids_.emplace(name, static_cast<DISPID>(ids_.size() + 1)).first;
            ids[i] = found->second;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD kind, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override {
        std::string member;
        for (const auto& [name, number] : ids_)
            if (number == id) member = name;
        std::string entry = label_ + "." + member + " " + KindName(kind, *parameters) + "(";
        for (UINT i = parameters->cArgs; i > 0; --i)  // last first, as automation passes them
            entry += (i == parameters->cArgs ? "" : ", ") + Describe(parameters->rgvarg[i - 1]);
        log_.push_back(entry + ")");
        if (member == failing_) {
            *exception = EXCEPINFO{};
            exception->scode = E_FAIL;
            exception->bstrDescription = SysAllocString(L"The transport failed to connect to the server.");
            return DISP_E_EXCEPTION;
        }
        if (result && (member == "configuration" || member == "Fields")) {
            result->vt = VT_DISPATCH;
            result->pdispVal = new RecordingObject(member, log_, failing_);
        }
        return S_OK;
    }

private:
    static std::string KindName(WORD kind, const DISPPARAMS& parameters) {
        const bool namedPut = parameters.cNamedArgs == 1 && parameters.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
        if (kind == DISPATCH_PROPERTYPUT) return namedPut ? "put" : "put-without-name";
        if (kind == DISPATCH_PROPERTYGET) return "get";
        return kind == DISPATCH_METHOD ? "call" : "kind" + std::to_string(kind);
    }
    static std::string Describe(const VARIANT& value) {
        if (value.vt == VT_BSTR) return "BSTR:" + Narrow(std::wstring_view(value.bstrVal, SysStringLen(value.bstrVal)));
        if (value.vt == VT_I2) return "I2:" + std::to_string(value.iVal);
        return "VT" + std::to_string(value.vt);
    }

    std::string label_;
    std::vector<std::string>& log_;
    std::string failing_;
    std::map<std::string, DISPID> ids_;
    ULONG references_ = 1;
};

MailRequest Request() {
    MailRequest request;
    request.to = "li@example.test; wang@example.test";
    request.from = " zhang@example.test";
    request.user = "zhang";
    request.password = "秘密";
    request.server = "smtp.example.test";
    request.subject = "分块";
    request.body = "";
    request.attachments = {"C:\\out\\a.001.pe", "C:\\out\\a.002.pe"};
    return request;
}

TEST(CdoMessage, SetsExactlyTheFieldsInOrderAndSendsOnce) {
    std::vector<std::string> log;
    auto* message = new RecordingObject("message", log, "");
    EXPECT_TRUE(SendThroughCdo(*message, Request(), "smtp.example.test"));
    message->Release();
    const std::string field = "BSTR:http://schemas.microsoft.com/cdo/configuration/";
    EXPECT_EQ(log, (std::vector<std::string>{
                       "message.From put(BSTR: zhang@example.test)",
                       "message.To put(BSTR:li@example.test; wang@example.test)",
                       "message.subject put(BSTR:分块)",
                       "message.textbody put(BSTR:)",
                       "message.configuration get()",
                       "configuration.Fields get()",
                       "Fields.Item put(" + field + "sendusing, I2:2)",
                       "Fields.Item put(" + field + "smtpserver, BSTR:smtp.example.test)",
                       "Fields.Item put(" + field + "smtpserverport, I2:25)",
                       "Fields.Item put(" + field + "smtpauthenticate, I2:1)",
                       "Fields.Item put(" + field + "sendusername, BSTR:zhang)",
                       "Fields.Item put(" + field + "sendpassword, BSTR:秘密)",
                       "Fields.Update call()",
                       "message.addattachment call(BSTR:C:\\out\\a.001.pe)",
                       "message.addattachment call(BSTR:C:\\out\\a.002.pe)",
                       "message.send call()",
                   }));
}

TEST(CdoMessage, AFailureStopsThereAndCarriesTheComponentsDescription) {
    std::vector<std::string> log;
    auto* message = new RecordingObject("message", log, "addattachment");
    const Status sent = SendThroughCdo(*message, Request(), "smtp.example.test");
    message->Release();
    EXPECT_EQ(sent.message(),
              "邮件组件（CDO.Message）的“addattachment”失败：The transport failed to connect to the server.");
    EXPECT_EQ(log.back(), "message.addattachment call(BSTR:C:\\out\\a.001.pe)") << "nothing after the failure";
}

TEST(SystemRoute, TheComponentAndTheOwnClientReachTheServerTheFieldNames) {
    std::vector<std::string> log;
    int made = 0;
    const auto component = [&]() -> IDispatch* {
        ++made;
        return new RecordingObject("message", log, "");
    };
    MailRequest request = Request();
    request.server = "  smtp.example.test \t";
    EXPECT_TRUE(SubmitThroughSystem(request, component, {}));
    const std::string server =
        "Fields.Item put(BSTR:http://schemas.microsoft.com/cdo/configuration/smtpserver, "
        "BSTR:smtp.example.test)";
    EXPECT_NE(std::find(log.begin(), log.end(), server), log.end())
        << "the blanks around the field are not the server's";

    // The component is always told port 25, so a field that names a port goes past it.
    request.server = " localhost:1 ";
    request.attachments.clear();
    const Status own = SubmitThroughSystem(request, component, {});
    EXPECT_EQ(made, 1);
    EXPECT_EQ(own.message().rfind("无法连接到服务器“localhost:1”", 0), 0u) << own.message();
}

TEST(CurrentUserVault, SealsAndOpensAgain) {
    CurrentUserVault vault;
    const std::optional<std::string> sealed = vault.Seal("秘密 password");
    ASSERT_TRUE(sealed) << "the system can protect secrets here";
    EXPECT_EQ(sealed->find("password"), std::string::npos);
    EXPECT_EQ(vault.Open(*sealed), "秘密 password");
    EXPECT_FALSE(vault.Open("not sealed by the system")) << "an unreadable value gives no password";
}

}  // namespace
}  // namespace quilvane::mail
