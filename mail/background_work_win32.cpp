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

}  // namespace

Status RunWhileMessagesFlow(std::function<Status()> work) {
    Event done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return work();
    Status result = Status::Ok();
    std::thread worker;
    try {
        worker = std::thread([&] {
            // Nothing may leave the thread: an exception there would end the program.
            try {
                result = work();
            } catch (const std::exception& failure) {
                result = Status::Fail(texts::Unexpected(failure.what()));
            }
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
