#include "ProgramRunner.h"

#include "ImageFileTestSupport.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace halvera::testing {
namespace {

std::string ReadText(const std::string& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

constexpr auto kProgramTimeout = std::chrono::seconds(120);

// Waits for the child to exit, at most kProgramTimeout; false when it did not.
bool WaitForChild(pid_t child, int& status) {
    const auto deadline = std::chrono::steady_clock::now() + kProgramTimeout;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace

ProgramResult RunProgramCapturing(const std::string& program,
                                  const std::vector<std::string>& arguments,
                                  const std::vector<std::string>& unset) {
    TemporaryFolder streams;
    const std::string outPath = streams.file("out.txt");
    const std::string errPath = streams.file("err.txt");
    std::vector<std::string> words = {program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        for (const std::string& name : unset)
            unsetenv(name.c_str());
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    if (!WaitForChild(child, status)) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    }
    ProgramResult result;
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadText(outPath);
    result.err = ReadText(errPath);
    return result;
}

} // namespace halvera::testing
