#pragma once

#include <string>
#include <vector>

namespace halvera::testing {

// What one run of a real program did.
struct ProgramResult {
    int status = -1; // exit status, -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs `program` with `arguments`, no shell in between, with this process's
// environment less the variables named in `unset`, and collects its standard
// output and error. A run that has not ended after two minutes is killed
// (status -1), so no test can hang on it.
ProgramResult RunProgramCapturing(const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  const std::vector<std::string>& unset = {});

} // namespace halvera::testing
