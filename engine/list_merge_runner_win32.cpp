#include "list_merge_runner.h"

#include <windows.h>
#include <shellapi.h>

#include "texts.h"
#include "utf16.h"

namespace quilvane {

// The batch file runs hidden, as the shell starts it; the window stays live until it ends.
Status CarryOutListMerge(const std::string& batchPath, const std::vector<std::string>&, const std::string&,
                         TaskHost& host, const CopyLimits&) {
    const std::wstring file = Widen(batchPath);
    SHELLEXECUTEINFOW run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    run.lpVerb = L"open";
    run.lpFile = file.c_str();
    run.lpParameters = L"/s";
    run.nShow = SW_HIDE;
    if (!ShellExecuteExW(&run) || !run.hProcess)
        return Status::Fail(texts::BatchRunFailed(batchPath, "系统无法启动它"));
    while (MsgWaitForMultipleObjects(1, &run.hProcess, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        host.LetPendingMessagesRun();
    CloseHandle(run.hProcess);
    return Status::Ok();
}

}  // namespace quilvane
