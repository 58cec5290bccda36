#pragma once
// Runs a test's helper program, one that lies beside the running test program, and waits for it.

#include <string>
#include <vector>

namespace quilvane::testing {

// The exit code of `program` (a bare name, found beside this test program) run with these
// arguments; -1 when it could not be started or did not end within two minutes.
int RunProgramBesideThis(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace quilvane::testing
