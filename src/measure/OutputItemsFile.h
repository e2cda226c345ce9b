#pragma once

#include "measure/OutputSelection.h"
#include "measure/RecordFile.h"

#include <string>

namespace halvera {

// The .Itm file: 142 bytes, little-endian. The magic "MDATALIST" and a NUL,
// then the 33 slots of an OutputSelection as signed 32-bit integers.
inline constexpr size_t kOutputItemsFileSize = 10 + OutputSelection::kSlots * sizeof(int32_t);

// Reads a .Itm file into `selection`, which is unchanged unless the result is
// Done. Slot values outside 0..32 select nothing.
RecordRead ReadOutputItemsFile(const std::string& path, OutputSelection& selection);
// Writes `selection` as a complete .Itm file; false when it could not be written.
bool WriteOutputItemsFile(const std::string& path, const OutputSelection& selection);

// The message for a file that is not a .Itm file.
inline constexpr const char* kCannotReadItemsFile = "Cannot read the file!";

} // namespace halvera
