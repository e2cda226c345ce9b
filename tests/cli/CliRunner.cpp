#include "CliRunner.h"

#include "ProgramRunner.h"

namespace halvera::testing {

CliResult RunCliCapturing(const std::vector<std::string>& arguments) {
    const ProgramResult run = RunProgramCapturing(HALVERA_CLI_PATH, arguments);
    return {run.status, run.out, run.err};
}

CliResult RunMeasureCommand(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "measure");
    return RunCliCapturing(arguments);
}

int RunCli(const std::vector<std::string>& arguments) {
    return RunCliCapturing(arguments).status;
}

} // namespace halvera::testing
