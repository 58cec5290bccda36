#pragma once
// The journal of a task's moves into place: written beside the outputs before the first move,
// marked when the last one is made, removed once the backups are gone. A run that dies in
// between leaves it behind, and the next task in the folder rolls that run back from it.
//
//   quilvane-moves 1
//   move<TAB>FINAL<TAB>TEMPORARY<TAB>NEW-ID
//   replace<TAB>FINAL<TAB>TEMPORARY<TAB>NEW-ID<TAB>BACKUP<TAB>OLD-ID
//   end
//   done
//
// Names are bare (the journal's folder holds them all), bytes below 20h, 7Fh and "%" written as
// "%XX"; an identity is "VOLUME:INDEX" in hexadecimal. The journal comes from the folder, which
// anyone may write to, so the reader takes nothing on trust: only names of the program's own
// temporary and backup files can be removed or moved back, and only a file whose identity the
// journal records is touched at all.

#include <string>
#include <string_view>
#include <vector>

#include "platform_file.h"
#include "status.h"

namespace quilvane {

inline constexpr const char* kJournalName = ".quilvane.journal";

struct PlannedMove {
    std::string finalName;
    std::string temporaryName;
    FileIdentity newFile;    // the finished temporary file
    std::string backupName;  // empty when nothing had the final name
    FileIdentity oldFile;    // what had the final name, when something had
};

struct MoveJournal {
    std::vector<PlannedMove> moves;
    bool complete = false;  // every move is listed, so some may have been made
    bool done = false;      // every move was made
};

// The journal up to its "end" line.
std::string JournalText(const std::vector<PlannedMove>& moves);
inline constexpr std::string_view kJournalDone = "done\n";

// Fails for a journal this program did not write: the message says why, for the caller to wrap.
// A journal cut short before its "end" line is no failure: its run died before the first move.
Result<MoveJournal> ParseJournal(std::string_view text);

}  // namespace quilvane
