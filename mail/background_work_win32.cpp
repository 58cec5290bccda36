#include "background_work.h"

#include <windows.h>

#include <system_error>
#include <thread>

#include "handles.h"
#include "mail_texts.h"
#include "message_loop.h"

namespace quilvane::mail {
namespace {

void CloseEvent(HANDLE event) { CloseHandle(event); }
using Event = ui::Owned<HANDLE, CloseEvent>;

// Nothing the work throws leaves it, on whichever thread it runs: on the worker an exception
// would end the program.
Status Guarded(const std::function<Status()>& work) {
    try {
        return work();
    } catch (const std::exception& failure) {
        return Status::Fail(texts::Unexpected(failure.what()));
    } catch (...) {
        return Status::Fail(texts::Unexpected("未知错误"));
    }
}

}  // namespace

Status RunWhileMessagesFlow(std::function<Status()> work) {
    Event done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return Guarded(work);
    Status result = Status::Ok();
    std::thread worker;
    try {
        worker = std::thread([&] {
            result = Guarded(work);
            SetEvent(done.get());
        });
    } catch (const std::system_error& failure) {
        return Status::Fail(texts::Unexpected(failure.what()));
    }
    const HANDLE finished = done.get();
    bool messagesFlow = true;
    while (messagesFlow) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &finished, FALSE, INFINITE, QS_ALLINPUT);
        if (woke == WAIT_OBJECT_0) break;
        // A request to quit stays queued for the outer loop; the work is still awaited.
        messagesFlow = ui::PumpPendingMessages();
    }
    worker.join();
    return result;
}

}  // namespace quilvane::mail
