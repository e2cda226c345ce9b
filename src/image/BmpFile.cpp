#include "image/BmpFile.h"

#include "image/BmpRle.h"
#include "image/ConvertPackedDib.h"
#include "image/ReadFailure.h"
#include "image/WholeFileWrite.h"
#include "platform/UserPrompts.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <sys/stat.h>

namespace halvera {

namespace {

constexpr uint16_t kBmpSignature = 0x4D42;       // "BM"
constexpr uint16_t kReferenceSignature = 0x3D3D; // "=="
constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kReferencePixelOffset = kFileHeaderSize + kHeaderSize;
constexpr uint32_t kLongestHeaderSize = 124;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr int kReadError = 1;
constexpr int kSaveError = 2;

struct FileHeader {
    uint16_t signature = 0;
    uint32_t fileSize = 0;
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
    uint32_t pixelOffset = 0;
};

uint16_t Little16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t Little32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
void PutLittle16(uint8_t* p, uint16_t value) {
    p[0] = static_cast<uint8_t>(value);
    p[1] = static_cast<uint8_t>(value >> 8);
}
void PutLittle32(uint8_t* p, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(value >> (8 * i));
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

FileHandle OpenForReading(const std::string& path) {
    return FileHandle(std::fopen(path.c_str(), "rb"));
}

bool ReadExactly(std::FILE* file, void* data, size_t size) {
    return std::fread(data, 1, size, file) == size;
}

// Reads the file header and accepts it when the signature is `signature`, both
// reserved words are 0 and the stored file size is the file's real length;
// else `failure` says which.
std::optional<FileHeader> ReadFileHeader(std::FILE* file, uint16_t signature,
                                         ReadFailure& failure) {
    uint8_t bytes[kFileHeaderSize];
    failure = {ReadProblem::NotAPicture, "BMP"};
    if (!ReadExactly(file, bytes, sizeof bytes))
        return std::nullopt;
    const FileHeader header{Little16(bytes), Little32(bytes + 2), Little16(bytes + 6),
                            Little16(bytes + 8), Little32(bytes + 10)};
    if (header.signature != signature)
        return std::nullopt;
    failure = {ReadProblem::Damaged, "the reserved header words are not 0"};
    if (header.reserved1 != 0 || header.reserved2 != 0)
        return std::nullopt;
    struct stat status {};
    if (fstat(fileno(file), &status) != 0)
        return std::nullopt;
    failure = status.st_size < off_t{header.fileSize}
                  ? ReadFailure{ReadProblem::Truncated, {}}
                  : ReadFailure{ReadProblem::Damaged, "the file is longer than its header says"};
    if (status.st_size != off_t{header.fileSize})
        return std::nullopt;
    return header;
}

// Many programs write the longer picture headers of later BMP versions (108 or
// 124 bytes); their first 40 bytes are the classic header. Such a header is
// skipped past and the block keeps only the classic one, so the palette and
// rows follow it as everywhere else in the program.
bool SkipExtendedHeader(std::FILE* file, BitmapInfoHeader& header, ReadFailure& failure) {
    if (header.biSize == kHeaderSize)
        return true;
    failure = {ReadProblem::Unsupported,
               "a picture header of " + std::to_string(header.biSize) + " bytes"};
    if (header.biSize < kHeaderSize || header.biSize > kLongestHeaderSize)
        return false;
    uint8_t rest[kLongestHeaderSize - kHeaderSize];
    failure = {ReadProblem::Truncated, {}};
    if (!ReadExactly(file, rest, header.biSize - kHeaderSize))
        return false;
    header.biSize = kHeaderSize;
    return true;
}

// Whether the file's rows must be rewritten before they form a packed DIB:
// run-length encoded rows, or rows stored top-down (negative height).
bool NeedsRowConversion(const BitmapInfoHeader& header) {
    return header.biHeight < 0 || header.biCompression == kRle8 || header.biCompression == kRle4;
}

// The depth a file that needs row conversion keeps, or -1 when the file is
// refused: RLE8 is 8-bit and RLE4 4-bit, both bottom-up only; top-down files
// are uncompressed of depth 1, 4, 8 or 24. Sizes as for every other file.
int ConvertedFileDepth(const BitmapInfoHeader& header) {
    if (header.biWidth <= 0 || header.biWidth > kMaxDibSide || header.biHeight == 0 ||
        header.biHeight < -kMaxDibSide || header.biHeight > kMaxDibSide)
        return -1;
    const int depth = header.biBitCount;
    switch (header.biCompression) {
    case 0:
        return depth == 1 || depth == 4 || depth == 8 || depth == 24 ? depth : -1;
    case kRle8:
        return depth == 8 && header.biHeight > 0 ? depth : -1;
    case kRle4:
        return depth == 4 && header.biHeight > 0 ? depth : -1;
    default:
        return -1;
    }
}

// Reads the rest of an RLE or top-down BMP file (after its picture header of
// `storedHeaderSize` bytes) and rewrites it as an uncompressed, bottom-up
// packed DIB with a full palette. Unlike the plain files these honour the
// file's colour count (biClrUsed) and pixel offset, as the programs writing
// them rely on both. Empty when any part lies outside the file.
PackedDib ReadConvertedBmp(std::FILE* file, const FileHeader& fileHeader,
                           const BitmapInfoHeader& header, uint32_t storedHeaderSize,
                           ReadFailure& failure) {
    const int depth = ConvertedFileDepth(header);
    failure = RefusedHeaderFailure(header);
    if (depth < 0)
        return {};
    const size_t fullPalette = depth <= 8 ? size_t{1} << depth : 0;
    const size_t colours = header.biClrUsed == 0 ? fullPalette : header.biClrUsed;
    failure = {ReadProblem::Damaged, "more palette colours than its depth allows"};
    if (colours > fullPalette)
        return {};
    const size_t restSize = fileHeader.fileSize - kFileHeaderSize - storedHeaderSize;
    const int64_t pixelStart =
        int64_t{fileHeader.pixelOffset} - int64_t{kFileHeaderSize} - storedHeaderSize;
    failure = {ReadProblem::Damaged, "the pixel data offset lies outside the file"};
    if (pixelStart < static_cast<int64_t>(colours * 4) ||
        pixelStart > static_cast<int64_t>(restSize))
        return {};
    PackedDib rest = PackedDib::Allocate(restSize);
    failure = {rest ? ReadProblem::Truncated : ReadProblem::OutOfMemory, {}};
    if (!rest || !ReadExactly(file, rest.data(), restSize))
        return {};

    const int32_t height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    const auto stride = static_cast<size_t>(DibStride(header.biWidth, depth));
    const size_t rowsStart = kHeaderSize + fullPalette * 4;
    PackedDib dib = PackedDib::Allocate(rowsStart + stride * static_cast<size_t>(height));
    failure = {ReadProblem::OutOfMemory, {}};
    if (!dib)
        return {};
    BitmapInfoHeader& target = *dib.header();
    target = header;
    target.biHeight = height;
    target.biCompression = 0;
    target.biSizeImage = 0;
    target.biClrUsed = 0;
    target.biClrImportant = 0;
    std::memcpy(dib.data() + kHeaderSize, rest.data(), colours * 4);

    const uint8_t* pixels = rest.data() + pixelStart;
    const size_t pixelBytes = restSize - static_cast<size_t>(pixelStart);
    uint8_t* rows = dib.data() + rowsStart;
    failure = {ReadProblem::Damaged, "run-length data leave the picture or lack their end"};
    if (header.biCompression != 0)
        return DecodeBmpRle(pixels, pixelBytes, depth, header.biWidth, height, rows, stride)
                   ? std::move(dib)
                   : PackedDib{};
    // Top-down rows: the file's first row is the top image row.
    failure = {ReadProblem::Truncated, {}};
    if (stride * static_cast<size_t>(height) > pixelBytes)
        return {};
    for (int32_t y = 0; y < height; ++y)
        std::memcpy(rows + stride * static_cast<size_t>(height - 1 - y), pixels + stride * y,
                    stride);
    return dib;
}

// The packed DIB of an open BMP file, or empty. The picture header is judged
// before the block is allocated, so no memory is spent on a refused file, and
// a file too short for header + full palette + rows is refused.
PackedDib ReadBmpBlock(std::FILE* file, ReadFailure& failure) {
    const std::optional<FileHeader> fileHeader = ReadFileHeader(file, kBmpSignature, failure);
    if (!fileHeader)
        return {};
    failure = {ReadProblem::Truncated, {}};
    if (fileHeader->fileSize < kFileHeaderSize + kHeaderSize)
        return {};
    BitmapInfoHeader header;
    if (!ReadExactly(file, &header, sizeof header))
        return {};
    const uint32_t skippedHeader = header.biSize - kHeaderSize;
    if (!SkipExtendedHeader(file, header, failure))
        return {};
    failure = {ReadProblem::Truncated, {}};
    if (fileHeader->fileSize < kFileHeaderSize + kHeaderSize + skippedHeader)
        return {};
    if (NeedsRowConversion(header))
        return ReadConvertedBmp(file, *fileHeader, header, kHeaderSize + skippedHeader, failure);
    const size_t blockSize = fileHeader->fileSize - kFileHeaderSize - skippedHeader;
    const int64_t required = PackedDibRequiredSize(header);
    failure = required < 0 ? RefusedHeaderFailure(header) : ReadFailure{ReadProblem::Truncated, {}};
    if (required < 0 || static_cast<uint64_t>(required) > blockSize)
        return {};

    PackedDib dib = PackedDib::Allocate(blockSize);
    failure = {dib ? ReadProblem::Truncated : ReadProblem::OutOfMemory, {}};
    if (!dib)
        return {};
    std::memcpy(dib.data(), &header, sizeof header);
    if (!ReadExactly(file, dib.data() + sizeof header, blockSize - sizeof header))
        return {};
    return dib;
}

// A copy of the image block of an open reference file, read only when the file
// holds an image of exactly the width, height and depth of `image`; else null.
std::unique_ptr<uint8_t[]> ReadReferenceBlock(std::FILE* file, const CDibImage& image) {
    ReadFailure unused;
    const std::optional<FileHeader> fileHeader = ReadFileHeader(file, kReferenceSignature, unused);
    if (!fileHeader || fileHeader->pixelOffset != kReferencePixelOffset)
        return nullptr;
    const auto blockSize = static_cast<size_t>(image.blockSize);
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[blockSize]);
    if (!block || !ReadExactly(file, block.get(), blockSize))
        return nullptr;
    BitmapInfoHeader header;
    std::memcpy(&header, block.get(), sizeof header);
    if (!IsReadableDibHeader(header) || header.biWidth != image.width() ||
        header.biHeight != image.height || header.biBitCount != image.bitCount() ||
        PackedDibRequiredSize(header) != image.blockSize)
        return nullptr;
    return block;
}

// Writes the file header and the whole block of `image`. The pixel offset is
// where the rows start: 54 for a 24-bit image, which has no palette.
bool WriteImageFile(const std::string& path, const CDibImage& image, uint16_t signature) {
    if (image.empty())
        return false;
    return WriteFileWhole(path, [&](AtomicFileWriter& file) {
        const auto blockSize = static_cast<uint32_t>(image.blockSize);
        uint8_t header[kFileHeaderSize] = {};
        PutLittle16(header, signature);
        PutLittle32(header + 2, static_cast<uint32_t>(kFileHeaderSize) + blockSize);
        PutLittle32(header + 10, static_cast<uint32_t>(kFileHeaderSize) + blockSize -
                                     static_cast<uint32_t>(image.bitsSize));
        return file.Write(header, sizeof header) && file.Write(image.header, blockSize);
    });
}

} // namespace

PackedDib CBmpFile::ReadPackedDib(const std::string& path) {
    if (const std::optional<ReadFailure> unopenable = UnopenableFile(path)) {
        ReportReadFailure(path, *unopenable);
        return {};
    }
    FileHandle file = OpenForReading(path);
    if (!file) {
        ReportReadFailure(path, OpenFailureOf(errno));
        return {};
    }
    PackedDib dib;
    ReadFailure failure;
    {
        WaitCursor wait;
        dib = ReadBmpBlock(file.get(), failure);
        file.reset();
    }
    if (!dib)
        ReportReadFailure(path, failure);
    return dib;
}

bool CBmpFile::Write(const std::string& path, const CDibImage& image) {
    return WriteImageFile(path, image, kBmpSignature);
}

bool CBmpFile::ReadReference(const std::string& path, const CDibImage& image) {
    if (image.empty())
        return false;
    FileHandle file = OpenForReading(path);
    std::unique_ptr<uint8_t[]> block = file ? ReadReferenceBlock(file.get(), image) : nullptr;
    file.reset();
    if (!block) {
        ReportFileError(kReadError);
        return false;
    }
    std::memcpy(image.header, block.get(), static_cast<size_t>(image.blockSize));
    return true;
}

bool CBmpFile::WriteReference(const std::string& path, const CDibImage& image) {
    return WriteImageFile(path, image, kReferenceSignature);
}

void CBmpFile::ReportFileError(int kind) {
    if (kind == kReadError)
        ShowMessage("Can not read the file!", MessageIcon::Warning);
    else if (kind == kSaveError)
        ShowMessage("Cannotsave the file!", MessageIcon::Warning);
}

} // namespace halvera
