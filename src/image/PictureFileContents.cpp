#include "image/PictureFileContents.h"

#include "image/PngFile.h"
#include "image/TiffFile.h"

#include <array>
#include <cstring>
#include <fstream>

namespace halvera {

namespace {

enum class Signature { Other, Png, Tiff };

Signature SignatureOf(const std::string& path) {
    std::array<char, 8> head{};
    std::ifstream file(path, std::ios::binary);
    if (!file.read(head.data(), head.size()))
        return Signature::Other;
    if (std::memcmp(head.data(), "\x89PNG\r\n\x1a\n", 8) == 0)
        return Signature::Png;
    if (std::memcmp(head.data(), "II*\0", 4) == 0 || std::memcmp(head.data(), "MM\0*", 4) == 0)
        return Signature::Tiff;
    return Signature::Other;
}

} // namespace

std::string PictureFileContents::Beyond8BitPicture() const {
    std::string beyond;
    if (pages > 1)
        beyond = std::to_string(pages) + " pages";
    if (bitsPerSample > 8)
        beyond += (beyond.empty() ? "" : ", ") + std::to_string(bitsPerSample) + "-bit samples";
    return beyond;
}

std::string PictureFileContents::ReplaceWarning() const {
    const std::string beyond = Beyond8BitPicture();
    if (beyond.empty())
        return {};
    return "The file holds more than this picture (" + beyond + "); saving replaces it.";
}

PictureFileContents InspectPictureFile(const std::string& path) {
    switch (SignatureOf(path)) {
    case Signature::Png:
        return CPngFile::Inspect(path);
    case Signature::Tiff:
        return CTiffFile::Inspect(path);
    case Signature::Other:
        break;
    }
    return {};
}

} // namespace halvera
