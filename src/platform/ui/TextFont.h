#pragma once

#include "platform/TextAttributes.h"

#include <QFont>

namespace halvera {

// The font of the text tool's attributes: the face, a negative height as the
// characters' pixel size (a positive one as the whole cell's), the weight
// (0: normal), italic, underline and strike-out. Never smoothed: the text
// tool keeps only exactly white pixels of what it draws.
QFont TextAttributesFont(const TextAttributes& attributes);

// The attributes of a chosen font; the colour stays the default.
TextAttributes TextAttributesFromFont(const QFont& font);

} // namespace halvera
