#include "platform/ui/TextFont.h"

#include <algorithm>
#include <cstdlib>

namespace halvera {

QFont TextAttributesFont(const TextAttributes& attributes) {
    QFont font(QString::fromStdString(attributes.faceName));
    font.setPixelSize(std::max(1, std::abs(attributes.height)));
    if (attributes.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(attributes.weight, 1, 1000)));
    font.setItalic(attributes.italic);
    font.setUnderline(attributes.underline);
    font.setStrikeOut(attributes.strikeOut);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

TextAttributes TextAttributesFromFont(const QFont& font) {
    TextAttributes attributes;
    attributes.faceName = font.family().toStdString();
    const int pixels = font.pixelSize() > 0
                           ? font.pixelSize()
                           : static_cast<int>(font.pointSizeF() * 96.0 / 72.0 + 0.5);
    attributes.height = -std::max(1, pixels);
    attributes.weight = font.weight();
    attributes.italic = font.italic();
    attributes.underline = font.underline();
    attributes.strikeOut = font.strikeOut();
    return attributes;
}

} // namespace halvera
