#pragma once

#include <string>
#include <vector>

namespace halvera::testing {

// What the real halvera-cli binary did with one command.
struct CliResult {
    int status = -1; // exit status, -1 when it did not exit normally
    std::string out;
    std::string err;
};

// Runs the real binary (HALVERA_CLI_PATH) with `arguments`, no shell in
// between, and collects its standard output and error. A run that has not
// ended after two minutes is killed (status -1).
CliResult RunCliCapturing(const std::vector<std::string>& arguments);

// `halvera-cli measure` with `arguments`.
CliResult RunMeasureCommand(std::vector<std::string> arguments);

// The same when only the exit status matters.
int RunCli(const std::vector<std::string>& arguments);

} // namespace halvera::testing
