#pragma once

#include "image/PackedDib.h"

#include <cstdint>
#include <string>
#include <vector>

namespace halvera::testing {

// Video files of known content for the player's tests, made at run time by
// the media framework's own encoders: `frames` frames of 320 x 240 at 30 per
// second of a ball moving over a black ground (every frame differs from the
// one before), passed through `encoding` (a pipeline piece such as
// "avenc_wmv2 ! asfmux") into `path`. False when the encoders are missing or
// the file could not be written.
bool EncodeTestVideo(const std::string& path, const std::string& encoding, int frames);

// A frame's pixels as blue, green, red bytes, rows top-down without padding.
using FramePixels = std::vector<uint8_t>;

// Every frame of the video file at `path`, decoded one after the other from
// the first to the last, as the framework delivers them in presentation
// order: the truth against which the player's seeks are checked.
std::vector<FramePixels> DecodeEveryFrame(const std::string& path);

// The pixels of a 24-bit packed picture (bottom-up padded rows) in the same
// layout; empty when it is none.
FramePixels PixelsOf(const PackedDib& picture);

} // namespace halvera::testing
