#include "system_submitter.h"

#include <objbase.h>
#include <oaidl.h>

#include "system_route.h"

namespace quilvane::mail {
namespace {

// COM for the length of one submission on the worker thread.
class ComApartment {
public:
    ComApartment() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (started_) CoUninitialize();
    }

private:
    bool started_;
};

// The component's message object; null where it is not installed.
IDispatch* CreateCdoMessage() {
    CLSID component{};
    if (FAILED(CLSIDFromProgID(L"CDO.Message", &component))) return nullptr;
    IDispatch* message = nullptr;
    if (FAILED(CoCreateInstance(component, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                reinterpret_cast<void**>(&message))))
        return nullptr;
    return message;
}

}  // namespace

Status SystemSubmitter::Submit(const MailRequest& request, const PlainLoginConsent& allowPlainLogin) {
    ComApartment apartment;
    SubmitOptions options;
    options.allowPlainLogin = allowPlainLogin;
    return SubmitThroughSystem(request, CreateCdoMessage, options);
}

}  // namespace quilvane::mail
