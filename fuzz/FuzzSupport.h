#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace halvera {
class PackedDib;
}

namespace halvera::fuzz {

// Installs, once per process, prompts that show and record nothing: the
// readers report every refused input, which would flood the fuzzer's output.
void InstallSilentPrompts();

// Writes the fuzzer's input to this process's scratch file (in /dev/shm when
// there is one, else $TMPDIR or /tmp), since the readers take paths, and
// returns that file's path. The file is removed when the process exits.
const std::string& WriteInputFile(const uint8_t* data, size_t size);

// Converts a picture a reader returned (of a depth the converter takes) into
// a 24-bit image, as opening it would. The readers only return blocks that hold header, full
// palette and rows, so a conversion that fails stops the run; a picture too large to allocate is
// skipped.
void RequireConvertible(const PackedDib& picture);

} // namespace halvera::fuzz
