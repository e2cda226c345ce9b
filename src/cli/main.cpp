// halvera-cli: the batch tool. See README.md for its commands and operations.
#include "HalveraVersion.h"
#include "cli/BatchTool.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> words(argv + 1, argv + argc);
    if (words.size() == 1 && words[0] == "--version") {
        std::printf("halvera-cli %s\n", halvera::kHalveraVersion);
        return halvera::kExitSuccess;
    }
    return halvera::RunBatchTool(words);
}
