#include "background_work.h"

#include <windows.h>

#include <system_error>
#include <thread>

#include "guarded.h"
#include "mail_texts.h"
#include "message_loop.h"
#include "win32_owners.h"

namespace quilvane::mail {
namespace {

// Nothing the work throws leaves it, on whichever thread it runs: on the worker an exception
// would end the program.
Status GuardedWork(const std::function<Status()>& work) {
    return Guarded(work, [](const char* what) { return Status::Fail(texts::Unexpected(what)); });
}

}  // namespace

Status RunWhileMessagesFlow(std::function<Status()> work) {
    const UniqueHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!done) return GuardedWork(work);
    Status result = Status::Ok();
    std::thread worker;
    try {
        worker = std::thread([&] {
            result = GuardedWork(work);
            SetEvent(done.get());
        });
    } catch (const std::system_error& failure) {
        return Status::Fail(texts::Unexpected(failure.what()));
    }
    const HANDLE finished = done.get();
    bool messagesFlow = true;
    for (;;) {
        // After a request to quit, which stays queued for the outer loop, only what the work
        // sends to this thread's windows is delivered, so a question it asks cannot hang it.
        const DWORD woke =
            MsgWaitForMultipleObjects(1, &finished, FALSE, INFINITE, messagesFlow ? QS_ALLINPUT : QS_SENDMESSAGE);
        if (woke == WAIT_OBJECT_0) break;
        MSG sent;
        if (messagesFlow)
            messagesFlow = ui::PumpPendingMessages();
        else
            PeekMessageW(&sent, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    worker.join();
    return result;
}

}  // namespace quilvane::mail
