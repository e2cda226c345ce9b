#pragma once

#include "document/TextSettings.h"
#include "view/TextStamp.h"

#include <optional>
#include <string>

namespace halvera {

// The batch tool's text drawing, without a window system: the font of
// `text.attributes` (the face found through fontconfig, so "Arial" may come
// out as a metric-compatible face) at `pixelHeight` pixels per em, rendered
// one bit per pixel (never smoothed), white on black, with the text's
// top-left corner at (left, top). Sets right and bottom from the extent
// (advance width; ascent plus descent) and returns the text area of
// TextBitmap. Nothing, with the reason in `error`, when no font can be loaded.
std::optional<TextBitmap> RasterizeText(TextSettings& text, int pixelHeight, std::string& error);

} // namespace halvera
