#pragma once

#include "acquire/VideoSystem.h"

#include <optional>
#include <string>

namespace halvera::testing {

// Starts GStreamer with the simulated camera registered, once per process.
void UseSimulatedCamera();
// The index of the simulated camera in the device list; nothing when absent.
std::optional<int> SimulatedCameraIndex();
// Records the simulated camera to `file` for `seconds` at `rate`; the frames
// written, or -1.
int64_t RecordSimulated(const std::string& file, double seconds, double rate);
// True when the two pictures are the same size with the same bytes.
bool SamePicture(const PackedDib& a, const PackedDib& b);
// True when not every pixel byte of a 24-bit picture is the same.
bool HasDifferentPixels(const PackedDib& picture);

} // namespace halvera::testing
