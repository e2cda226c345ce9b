// The strip tags of the TIFF files Halvera writes have the types other
// readers expect: StripOffsets and StripByteCounts are LONG, whatever the
// picture's size. ImageJ 1.53 cannot open a file with two SHORT byte counts
// (it takes the counts, kept inside the directory entry, for an offset). The
// directory is read byte by byte here, as such a reader sees it.
#include "ImageFileTestSupport.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "image/TiffFile.h"

#include <gtest/gtest.h>
#include <map>
#include <tiffio.h>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Bytes;
using testing::ReadFileBytes;

struct DirectoryEntry {
    uint16_t type;
    uint32_t count;
};

uint16_t Little16At(const Bytes& bytes, size_t offset) {
    return static_cast<uint16_t>(bytes.at(offset) | bytes.at(offset + 1) << 8);
}

// The entries of the first directory of a little-endian classic TIFF, by tag.
std::map<uint16_t, DirectoryEntry> FirstDirectory(const Bytes& file) {
    EXPECT_EQ(file.at(0), 'I');
    EXPECT_EQ(Little16At(file, 2), 42);
    const size_t directory = testing::Little32At(file, 4);
    std::map<uint16_t, DirectoryEntry> entries;
    const uint16_t count = Little16At(file, directory);
    for (uint16_t i = 0; i < count; ++i) {
        const size_t entry = directory + 2 + 12 * size_t{i};
        entries[Little16At(file, entry)] = {Little16At(file, entry + 2),
                                            testing::Little32At(file, entry + 4)};
    }
    return entries;
}

TEST(TiffStripTags, StripOffsetsAndByteCountsAreLongAtEverySize) {
    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
    // The picture ImageJ refused, one just over a strip, and a tall one.
    const struct {
        int width;
        int height;
    } sizes[] = {{64, 48}, {200, 120}, {300, 400}};
    for (const auto& [width, height] : sizes) {
        DibBlock image = testing::MakeRgb(width, height, [](int x, int y) {
            return Bgr{uint8_t(x), uint8_t(y), uint8_t(x + y)};
        });
        const std::string path = folder.file(std::to_string(width) + ".tif");
        ASSERT_TRUE(CTiffFile().Write(path, image.dib()));

        const std::map<uint16_t, DirectoryEntry> entries = FirstDirectory(ReadFileBytes(path));
        ASSERT_TRUE(entries.contains(TIFFTAG_STRIPOFFSETS));
        ASSERT_TRUE(entries.contains(TIFFTAG_STRIPBYTECOUNTS));
        const DirectoryEntry offsets = entries.at(TIFFTAG_STRIPOFFSETS);
        const DirectoryEntry counts = entries.at(TIFFTAG_STRIPBYTECOUNTS);
        EXPECT_EQ(offsets.type, TIFF_LONG) << width << " x " << height;
        EXPECT_EQ(counts.type, TIFF_LONG) << width << " x " << height;
        EXPECT_EQ(counts.count, offsets.count);

        // libtiff agrees on the strips ("c": as stored, not chopped into
        // smaller ones for reading) and reads the pixels back.
        TIFF* tiff = TIFFOpen(path.c_str(), "rc");
        ASSERT_NE(tiff, nullptr);
        EXPECT_EQ(TIFFNumberOfStrips(tiff), counts.count);
        uint64_t* byteCounts = nullptr;
        ASSERT_TRUE(TIFFGetField(tiff, TIFFTAG_STRIPBYTECOUNTS, &byteCounts));
        uint64_t total = 0;
        for (uint32_t strip = 0; strip < counts.count; ++strip)
            total += byteCounts[strip];
        EXPECT_EQ(total, uint64_t{3} * width * height);
        std::vector<uint8_t> row(static_cast<size_t>(TIFFScanlineSize(tiff)));
        ASSERT_EQ(TIFFReadScanline(tiff, row.data(), height - 1, 0), 1);
        EXPECT_EQ(row[3 * (width - 1)], uint8_t(width - 1 + height - 1)) << "red, stored first";
        TIFFClose(tiff);
    }
    EXPECT_TRUE(prompts.messages.empty());
}

} // namespace
} // namespace halvera
