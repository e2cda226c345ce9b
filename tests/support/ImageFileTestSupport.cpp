#include "ImageFileTestSupport.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

namespace halvera::testing {

TemporaryFolder::TemporaryFolder() {
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("halvera-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TemporaryFolder::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

Bytes ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadFileText(const std::string& path) {
    const Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

uint32_t Little32At(const Bytes& bytes, size_t offset) {
    return uint32_t{bytes.at(offset)} | uint32_t{bytes.at(offset + 1)} << 8 |
           uint32_t{bytes.at(offset + 2)} << 16 | uint32_t{bytes.at(offset + 3)} << 24;
}

void PutLittle32At(Bytes& bytes, size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i)
        bytes.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

Bytes PackIndexedRows(int width, int height, int depth,
                      const std::function<int(int x, int y)>& value) {
    const size_t stride = ((static_cast<size_t>(width) * depth + 31) / 32) * 4;
    Bytes rows(stride * height, 0);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = rows.data() + stride * (height - 1 - y);
        const size_t used = (static_cast<size_t>(width) * depth + 7) / 8;
        std::memset(row + used, 0xA5, stride - used);
        for (int x = 0; x < width; ++x) {
            const int v = value(x, y);
            const size_t bit = static_cast<size_t>(x) * depth;
            // The leftmost pixel sits in the most significant bits of its byte.
            const int shift = 8 - depth - static_cast<int>(bit % 8);
            row[bit / 8] = static_cast<uint8_t>(row[bit / 8] | (v << shift));
        }
    }
    return rows;
}

BitmapInfoHeader PictureHeader(int width, int height, int depth) {
    BitmapInfoHeader header;
    header.biWidth = width;
    header.biHeight = height;
    header.biBitCount = static_cast<uint16_t>(depth);
    return header;
}

Bytes PackedDibBytes(const BitmapInfoHeader& header, const std::vector<RgbQuad>& palette,
                     const Bytes& rows) {
    const size_t paletteBytes = palette.size() * sizeof(RgbQuad);
    Bytes block(sizeof header + paletteBytes + rows.size());
    std::memcpy(block.data(), &header, sizeof header);
    const auto* colours = reinterpret_cast<const uint8_t*>(palette.data());
    std::copy(colours, colours + paletteBytes, block.begin() + sizeof header);
    std::copy(rows.begin(), rows.end(), block.begin() + sizeof header + paletteBytes);
    return block;
}

Bytes ImageFileBytes(const Bytes& packedDib, size_t paletteEntries, const char* signature) {
    Bytes file(14, 0);
    file[0] = static_cast<uint8_t>(signature[0]);
    file[1] = static_cast<uint8_t>(signature[1]);
    PutLittle32At(file, 2, static_cast<uint32_t>(14 + packedDib.size()));
    PutLittle32At(file, 10, static_cast<uint32_t>(54 + paletteEntries * 4));
    file.insert(file.end(), packedDib.begin(), packedDib.end());
    return file;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    // Without this the process would be killed instead of the write failing.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previousHandler_);
}

} // namespace halvera::testing
