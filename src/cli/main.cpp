// halvera-cli: the batch tool. See README.md for its commands and operations.
#include "cli/BatchTool.h"

#include <string>
#include <vector>

int main(int argc, char** argv) {
    return halvera::RunBatchTool(std::vector<std::string>(argv + 1, argv + argc));
}
