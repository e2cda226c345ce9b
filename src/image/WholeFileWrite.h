#pragma once

#include "image/AtomicFileWriter.h"

#include <functional>
#include <string>

namespace halvera {

// Writes a picture file whole: `contents` fills the opened temporary file
// under the wait cursor, and the file replaces `path` only when it and the
// commit succeed. Any failure shows "Cannotsave the file!" and gives false; an
// existing file is then untouched.
bool WriteFileWhole(const std::string& path,
                    const std::function<bool(AtomicFileWriter& file)>& contents);

} // namespace halvera
