#include "cli/CliTextRasterizer.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <memory>

namespace halvera {

namespace {

// The file of the best match for a face name, as the desktop would choose it.
std::optional<std::string> FindFontFile(const std::string& face) {
    if (!FcInit())
        return std::nullopt;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(face.c_str()));
    if (pattern == nullptr)
        return std::nullopt;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr)
        return std::nullopt;
    std::optional<std::string> path;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
        path = reinterpret_cast<const char*>(file);
    FcPatternDestroy(match);
    return path;
}

struct LibraryCloser {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceCloser {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

int32_t Pixels26(FT_Pos value) {
    return static_cast<int32_t>((value + 63) >> 6);
}

} // namespace

std::optional<TextBitmap> RasterizeText(TextSettings& text, int pixelHeight, std::string& error) {
    const std::optional<std::string> file = FindFontFile(text.attributes.faceName);
    if (!file) {
        error = "no font found for " + text.attributes.faceName;
        return std::nullopt;
    }
    FT_Library rawLibrary = nullptr;
    if (FT_Init_FreeType(&rawLibrary) != 0) {
        error = "the font library could not start";
        return std::nullopt;
    }
    const std::unique_ptr<FT_LibraryRec_, LibraryCloser> library(rawLibrary);
    FT_Face rawFace = nullptr;
    if (FT_New_Face(library.get(), file->c_str(), 0, &rawFace) != 0) {
        error = "the font " + *file + " could not be loaded";
        return std::nullopt;
    }
    const std::unique_ptr<FT_FaceRec_, FaceCloser> face(rawFace);
    if (FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(pixelHeight)) != 0) {
        error = "the font has no size of " + std::to_string(pixelHeight) + " pixels";
        return std::nullopt;
    }
    const FT_Size_Metrics& metrics = face->size->metrics;
    const int32_t ascent = Pixels26(metrics.ascender);
    const int32_t descent = Pixels26(-metrics.descender);

    // The advance width first: it sets the box, and the box the bitmap.
    int32_t advance = 0;
    for (const unsigned char c : text.text) {
        if (FT_Load_Char(face.get(), c, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) == 0)
            advance += Pixels26(face->glyph->advance.x);
    }
    text.right = text.left + advance;
    text.bottom = text.top + ascent + descent;
    TextBitmap bitmap = TextBitmap::ForBox(text);

    int32_t penX = 0;
    for (const unsigned char c : text.text) {
        if (FT_Load_Char(face.get(), c,
                         FT_LOAD_RENDER | FT_LOAD_MONOCHROME | FT_LOAD_TARGET_MONO) != 0 ||
            face->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
            continue;
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bits = glyph->bitmap;
        const int32_t originX = penX + glyph->bitmap_left;
        const int32_t originY = ascent - glyph->bitmap_top;
        for (unsigned row = 0; row < bits.rows; ++row) {
            const int32_t y = originY + static_cast<int32_t>(row);
            if (y < 0 || y >= bitmap.height)
                continue;
            const unsigned char* source = bits.buffer + static_cast<ptrdiff_t>(row) * bits.pitch;
            for (unsigned column = 0; column < bits.width; ++column) {
                const int32_t x = originX + static_cast<int32_t>(column);
                if (x < 0 || x >= bitmap.width)
                    continue;
                if (source[column / 8] & (0x80 >> (column % 8)))
                    bitmap.white[static_cast<size_t>(y) * bitmap.width + x] = 1;
            }
        }
        penX += Pixels26(glyph->advance.x);
    }
    return bitmap;
}

} // namespace halvera
