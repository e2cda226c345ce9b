#pragma once

#include "image/CalibrationRecord.h"
#include "measure/RulerCalibration.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace halvera {

// The .Cal layout, little-endian and unpadded: the magic "RULER" and a NUL
// (6 bytes), the unit (int32), real X and real Y (raw IEEE 754 doubles) and
// the pixel width and height (int32): 34 bytes, no version, no checksum.
inline constexpr size_t kCalFileSize = 34;
using CalFileBytes = std::array<uint8_t, kCalFileSize>;

CalFileBytes EncodeCalibration(const CalibrationRecord& record);
// The record in the first 34 bytes, or nothing when fewer bytes are given or
// any byte of the magic differs. Values are taken as stored, unchecked.
std::optional<CalibrationRecord> DecodeCalibration(std::span<const uint8_t> bytes);

enum class CalFileRead { Read, CannotOpen, NotACalFile };

// Reads the first 34 bytes of `path`. A file shorter than that is refused
// like a wrong magic.
CalFileRead ReadCalFile(const std::string& path, CalibrationRecord& record);
// Writes the 34 bytes at the start of `path`, creating it when absent; a
// longer existing file keeps its bytes after the record. The file is locked
// against other writers while open. False when it cannot be opened or written.
bool WriteCalFile(const std::string& path, const CalibrationRecord& record);

// The calibration in force, as a record.
CalibrationRecord CalibrationInForce(const RulerCalibration& calibration);
// Stores unit, real sizes and pixel sizes as loading a file does, through the
// calibration's validation.
void StoreCalibration(RulerCalibration& calibration, const CalibrationRecord& record);

// The calibration in force with the name of its preset.
NamedCalibration NamedCalibrationInForce(const RulerCalibration& calibration);
// Stores the record as StoreCalibration does, then names its preset.
void StoreNamedCalibration(RulerCalibration& calibration, const NamedCalibration& named);

// The message shown when a file is not a calibration file.
inline constexpr std::string_view kCalFileUnreadable = "Can not read the file!";

} // namespace halvera
