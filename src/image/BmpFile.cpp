#include "image/BmpFile.h"

#include "image/BmpDecoder.h"
#include "image/BmpHeaders.h"
#include "image/ConvertPackedDib.h"
#include "image/LittleEndian.h"
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

constexpr uint16_t kReferenceSignature = 0x3D3D; // "=="
constexpr uint32_t kReferencePixelOffset = kBmpFileHeaderSize + kHeaderSize;
constexpr int kReadError = 1;
constexpr int kSaveError = 2;
constexpr const char* kReadMessage = "Can not read the file!";

struct FileHeader {
    uint16_t signature = 0;
    uint32_t fileSize = 0;
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
    uint32_t pixelOffset = 0;
};

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
// reserved words are 0 and the stored file size is the file's real length.
std::optional<FileHeader> ReadFileHeader(std::FILE* file, uint16_t signature) {
    uint8_t bytes[kBmpFileHeaderSize];
    if (!ReadExactly(file, bytes, sizeof bytes))
        return std::nullopt;
    const FileHeader header{Little16(bytes), Little32(bytes + 2), Little16(bytes + 6),
                            Little16(bytes + 8), Little32(bytes + 10)};
    if (header.signature != signature || header.reserved1 != 0 || header.reserved2 != 0)
        return std::nullopt;
    struct stat status {};
    if (fstat(fileno(file), &status) != 0 || status.st_size != off_t{header.fileSize})
        return std::nullopt;
    return header;
}

// Reads `size` bytes from `offset` on into `target`.
bool ReadAt(std::FILE* file, uint64_t offset, void* target, uint64_t size) {
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0 &&
           ReadExactly(file, target, static_cast<size_t>(size));
}

// The rest of a file laid out as a packed DIB, read straight into its block.
PackedDib ReadPackedDibOfFile(std::FILE* file, const BmpHeaders& headers, uint64_t fileSize) {
    PackedDib dib = AllocatePackedDibOfFile(headers, fileSize);
    if (!dib || !ReadAt(file, kBmpFileHeaderSize + headers.info.biSize, dib.data() + kHeaderSize,
                        dib.size() - kHeaderSize))
        return {};
    return dib;
}

// Any other layout: the file up to the end of its pixel data is read into
// memory and converted from there.
PackedDib ReadAndDecode(std::FILE* file, const BmpHeaders& headers, const BmpLayout& layout) {
    const uint64_t size = layout.pixelStart + layout.pixelBytes;
    std::unique_ptr<uint8_t[]> bytes(new (std::nothrow) uint8_t[size]);
    if (!bytes || !ReadAt(file, 0, bytes.get(), size))
        return {};
    return DecodeBmpPixels(headers, layout, bytes.get());
}

// The packed DIB of an open BMP file, or empty, with `refusal` naming a kind
// of BMP the program does not read. The headers and the layout are judged
// from the file's first bytes and its length before any block is allocated.
PackedDib ReadBmpBlock(std::FILE* file, std::string& refusal) {
    struct stat status {};
    if (fstat(fileno(file), &status) != 0 || status.st_size < 0)
        return {};
    const auto fileSize = static_cast<uint64_t>(status.st_size);
    uint8_t start[kBmpHeadersMaxSize];
    const size_t available = std::fread(start, 1, sizeof start, file);
    const BmpHeadersVerdict verdict = ParseBmpHeaders(start, available, fileSize);
    if (!verdict.headers) {
        if (verdict.unsupported)
            refusal = verdict.unsupported;
        return {};
    }
    const std::optional<BmpLayout> layout = LocateBmpPixels(*verdict.headers, fileSize);
    if (!layout)
        return {};
    return layout->packedDib ? ReadPackedDibOfFile(file, *verdict.headers, fileSize)
                             : ReadAndDecode(file, *verdict.headers, *layout);
}

// A copy of the image block of an open reference file, read only when the file
// holds an image of exactly the width, height and depth of `image`; else null.
std::unique_ptr<uint8_t[]> ReadReferenceBlock(std::FILE* file, const CDibImage& image) {
    const std::optional<FileHeader> fileHeader = ReadFileHeader(file, kReferenceSignature);
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
        uint8_t header[kBmpFileHeaderSize] = {};
        PutLittle16(header, signature);
        PutLittle32(header + 2, kBmpFileHeaderSize + blockSize);
        PutLittle32(header + 10,
                    kBmpFileHeaderSize + blockSize - static_cast<uint32_t>(image.bitsSize));
        return file.Write(header, sizeof header) && file.Write(image.header, blockSize);
    });
}

// Why a BMP file that names no unsupported kind was not read: not a BMP at
// all, shorter than its file header says, or contradicting itself.
ReadFailure WhyNotRead(std::FILE* file) {
    struct stat status {};
    uint8_t start[6] = {};
    if (fstat(fileno(file), &status) != 0 || fseeko(file, 0, SEEK_SET) != 0 ||
        std::fread(start, 1, sizeof start, file) != sizeof start || start[0] != 'B' ||
        start[1] != 'M')
        return {ReadProblem::NotAPicture, "BMP"};
    const uint32_t storedSize =
        start[2] | start[3] << 8 | start[4] << 16 | uint32_t{start[5]} << 24;
    if (static_cast<uint64_t>(status.st_size) < storedSize)
        return {ReadProblem::Truncated, {}};
    return {ReadProblem::Damaged, {}};
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
    std::string refusal;
    {
        WaitCursor wait;
        dib = ReadBmpBlock(file.get(), refusal);
    }
    if (!dib)
        ReportReadFailure(path, refusal.empty() ? WhyNotRead(file.get())
                                                : ReadFailure{ReadProblem::Unsupported, refusal});
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
        ShowMessage(kReadMessage, MessageIcon::Warning);
    else if (kind == kSaveError)
        ShowMessage("Cannotsave the file!", MessageIcon::Warning);
}

} // namespace halvera
