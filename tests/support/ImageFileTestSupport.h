#pragma once

#include "image/BitmapInfoHeader.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <vector>

namespace halvera::testing {

using Bytes = std::vector<uint8_t>;

// A fresh folder under the system's temporary directory, removed with its
// contents at the end of the test.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Names of the entries in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    std::filesystem::path path_;
};

Bytes ReadFileBytes(const std::string& path);
// The whole file as text; throws as ReadFileBytes does.
std::string ReadFileText(const std::string& path);
void WriteFileBytes(const std::string& path, const Bytes& bytes);

uint32_t Little32At(const Bytes& bytes, size_t offset);
void PutLittle32At(Bytes& bytes, size_t offset, uint32_t value);

// Bottom-up rows of `depth` bits per pixel, each padded to a multiple of 4
// bytes, whose pixel (x, y), y = 0 at the top, is value(x, y): a palette index
// for depth 1, 4 or 8. Padding bytes are 0xA5 so readers that show them are caught.
Bytes PackIndexedRows(int width, int height, int depth,
                      const std::function<int(int x, int y)>& value);

// A header for an uncompressed picture of the given size and depth.
BitmapInfoHeader PictureHeader(int width, int height, int depth);

// Header, palette and rows, as a packed DIB holds them.
Bytes PackedDibBytes(const BitmapInfoHeader& header, const std::vector<RgbQuad>& palette,
                     const Bytes& rows);

// A whole file: the 14-byte file header (`signature`, the real file size,
// reserved words 0, pixel offset 54 + palette) then the packed DIB bytes.
Bytes ImageFileBytes(const Bytes& packedDib, size_t paletteEntries, const char* signature = "BM");

// Makes every write beyond `bytes` into a file fail, as on a full disk, while alive.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace halvera::testing
