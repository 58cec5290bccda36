#include "background_work.h"

#include <windows.h>

#include <thread>

#include "handles.h"
#include "message_loop.h"

namespace quilvane::mail {
namespace {

void CloseEvent(HANDLE event) { CloseHandle(event); }
using Event = ui::Owned<HANDLE, CloseEvent>;

}  // namespace

Status RunWhileMessagesFlow(std::function<Status()> work) {
    Event done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return work();
    Status result = Status::Ok();
    std::thread worker([&] {
        result = work();
        SetEvent(done.get());
    });
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
