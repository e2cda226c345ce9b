#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace halvera {

// The measurement data files (.Tol, .Itm) are one fixed-size little-endian
// record that begins with an ASCII magic word and its NUL.

enum class RecordRead {
    Done,       // the record was read
    CannotOpen, // the file could not be opened: the caller stays silent
    WrongFormat // the magic differs or the file is shorter than the record
};

// Reads the first record.size() bytes of the file into `record`, which keeps
// its contents unless the whole record was read and begins with `magic` and a
// NUL. Bytes after the record are ignored.
RecordRead ReadRecordFile(const std::string& path, std::string_view magic,
                          std::span<std::byte> record);

// Replaces the file by exactly `record`: the old file stays whole until the
// new one is complete. False when the file could not be written.
bool WriteRecordFile(const std::string& path, std::span<const std::byte> record);

} // namespace halvera
