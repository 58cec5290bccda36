// Journals of moves into place, as anyone may leave one in a folder. One that reads names only
// plain names, the program's own side files as temporary and backup files, and is written again
// as the same journal.

#include "fuzz_promise.h"
#include "journal_format.h"
#include "platform_file.h"

using namespace quilvane;
using fuzz::Promise;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Result<MoveJournal> read = ParseJournal(fuzz::Text(data, size));
    if (!read) return 0;
    for (const PlannedMove& move : read->moves) {
        Promise(IsPlainFileName(move.finalName) && IsPlainFileName(move.temporaryName), "names stay in the folder");
        Promise(move.temporaryName.find(".quilvane-") != std::string::npos, "temporary files are the program's own");
        Promise(move.backupName.empty() || move.backupName.find(".quilvane-") != std::string::npos,
                "backups are the program's own");
    }
    if (!read->complete) return 0;
    const Result<MoveJournal> again = ParseJournal(JournalText(read->moves));
    Promise(again && again->complete && !again->done && again->moves.size() == read->moves.size(),
            "a journal written again reads the same");
    for (std::size_t i = 0; i < read->moves.size(); ++i) {
        const PlannedMove &first = read->moves[i], &second = again->moves[i];
        Promise(first.finalName == second.finalName && first.temporaryName == second.temporaryName &&
                    first.backupName == second.backupName && first.newFile == second.newFile &&
                    first.oldFile == second.oldFile,
                "every move reads back the same");
    }
    return 0;
}
