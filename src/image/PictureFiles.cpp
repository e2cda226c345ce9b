#include "image/PictureFiles.h"

#include "image/BmpFile.h"
#include "image/ConvertPackedDib.h"
#include "image/JpegFile.h"
#include "image/PngFile.h"
#include "image/TiffFile.h"

#include <array>
#include <utility>

namespace halvera {

namespace {

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

bool EndsWithIgnoringCase(std::string_view text, std::string_view upperSuffix) {
    if (text.size() < upperSuffix.size())
        return false;
    const std::string_view tail = text.substr(text.size() - upperSuffix.size());
    for (size_t i = 0; i < tail.size(); ++i)
        if (AsciiUpper(tail[i]) != upperSuffix[i])
            return false;
    return true;
}

PictureFileType PictureFileTypeOf(std::string_view path) {
    static constexpr std::array<std::pair<std::string_view, PictureFileType>, 6> kEndings = {{
        {".BMP", PictureFileType::Bmp},
        {".JPG", PictureFileType::Jpeg},
        {".JPEG", PictureFileType::Jpeg},
        {".PNG", PictureFileType::Png},
        {".TIF", PictureFileType::Tiff},
        {".TIFF", PictureFileType::Tiff},
    }};
    for (const auto& [ending, type] : kEndings)
        if (EndsWithIgnoringCase(path, ending))
            return type;
    return PictureFileType::None;
}

namespace {

PictureFromFile ReadByType(const std::string& path) {
    switch (PictureFileTypeOf(path)) {
    case PictureFileType::Bmp:
        return {CBmpFile().ReadPackedDib(path), {}};
    case PictureFileType::Jpeg:
        return {CJpegFile().ReadPackedDib(path), {}};
    case PictureFileType::Png:
        return CPngFile().ReadPicture(path);
    case PictureFileType::Tiff:
        return CTiffFile().ReadPicture(path);
    case PictureFileType::None:
        break;
    }
    return {};
}

} // namespace

PictureFromFile OpenPictureFile(const std::string& path) {
    PictureFromFile file = ReadByType(path);
    if (!file.picture)
        return file;
    if (const std::optional<ReadFailure> failure = PackedDibFailure(file.picture)) {
        ReportReadFailure(path, *failure);
        return {};
    }
    return file;
}

std::string NextUntitledTitle() {
    static int untitledCount = 0;
    return "HLV " + std::to_string(++untitledCount);
}

} // namespace halvera
