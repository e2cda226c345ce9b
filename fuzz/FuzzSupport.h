#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace halvera::fuzz {

// Installs, once per process, prompts that show and record nothing: the
// readers report every refused input, which would flood the fuzzer's output.
void InstallSilentPrompts();

// Writes the fuzzer's input to this process's scratch file (in /dev/shm when
// there is one, else $TMPDIR or /tmp), since the readers take paths, and
// returns that file's path. The file is removed when the process exits.
const std::string& WriteInputFile(const uint8_t* data, size_t size);

} // namespace halvera::fuzz
