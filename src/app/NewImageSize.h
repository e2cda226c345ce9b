#pragma once

#include "platform/UserPrompts.h"

namespace halvera {

// The rules of the "New image size" dialog, shared by the dialog and its tests.

// An edit box of the dialog never holds more than this.
inline constexpr int kNewImageSizeEditMax = 65536;
// The dialog's own range check then accepts each value in 0..2048.
inline constexpr int kNewImageSizeAcceptedMax = 2048;

// What OK makes of the typed values: the width is rounded up to the next
// multiple of 4, then each value below 8 becomes 8 and each above 65536 becomes
// 65536. The result is stored as ImageWidth and ImageHeight before the range
// check runs.
ImageSize NewImageSizeFromDialog(int width, int height);

// The dialog's range check: true when both values lie in 0..2048.
bool NewImageSizeAccepted(const ImageSize& size);

} // namespace halvera
