#pragma once
// Carrying out a list merge's batch file. Where the system's shell runs batch files, the
// batch file itself does the join; elsewhere the engine joins the files the same way.

#include <string>
#include <vector>

#include "status.h"
#include "task.h"

namespace quilvane {

// Returns once `output` holds the joined files (or the attempt has ended).
Status CarryOutListMerge(const std::string& batchPath, const std::vector<std::string>& entries,
                         const std::string& output, TaskHost& host, const CopyLimits& limits);

// Joins the files in order into `output`, through a temporary file beside it.
Status JoinFiles(const std::vector<std::string>& entries, const std::string& output, const CopyLimits& limits);

}  // namespace quilvane
