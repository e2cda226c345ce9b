#pragma once

#include "measure/RecordFile.h"
#include "measure/ToleranceTable.h"

#include <string>

namespace halvera {

// The .Tol file: 2410 bytes, little-endian. The magic "TOLERANCE" and a NUL,
// then the 100 entries of the table, each standard, upper and lower limit as
// raw IEEE 754 doubles (so a round trip is exact to the bit).
inline constexpr size_t kToleranceFileSize = 10 + ToleranceTable::kEntries * 3 * sizeof(double);

// Reads a .Tol file into `table`, which is unchanged unless the result is Done.
RecordRead ReadToleranceFile(const std::string& path, ToleranceTable& table);
// Writes `table` as a complete .Tol file; false when it could not be written.
bool WriteToleranceFile(const std::string& path, const ToleranceTable& table);

// The message for a file that is not a .Tol file.
inline constexpr const char* kCannotReadToleranceFile = "Can not read the file!";

} // namespace halvera
