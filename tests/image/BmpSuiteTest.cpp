// The BMP Suite (tests/image/data/bmpsuite, see its README): every good file
// against the picture the suite says it draws, every questionable and bad
// file read or refused without harm, and every reader path alike.
#include "ImageFileTestSupport.h"
#include "ReadMessages.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "image/BmpDecoder.h"
#include "image/BmpFile.h"
#include "image/ConvertPackedDib.h"
#include "image/PictureFiles.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

namespace halvera {
namespace {

using testing::Bgr;
using testing::Bytes;
using testing::PixelAt;


// The path of suite file `name`, such as "g/pal8".
std::string SuiteFile(const std::string& name) {
    return std::string(HALVERA_BMPSUITE_DIR) + "/" + name + ".bmp";
}

// The names ("g/pal8") of the files in one folder of the suite, sorted.
std::vector<std::string> SuiteFolder(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(HALVERA_BMPSUITE_DIR) + "/" + folder))
        if (entry.path().extension() == ".bmp")
            names.push_back(folder + "/" + entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The 24-bit image a read picture becomes, as File Open makes it; empty for
// an empty picture.
DibBlock ToImage(const PackedDib& picture) {
    DibBlock image;
    if (!picture)
        return image;
    const BitmapInfoHeader& header = *picture.header();
    EXPECT_TRUE(IsReadableDibHeader(header));
    if (!CreateRgb(image, header.biWidth, header.biHeight) ||
        !ConvertPackedDib(picture, image.dib())) {
        ADD_FAILURE() << "the picture read cannot be converted";
        image.release();
    }
    return image;
}

// Channel `value` stored at the nearest of 2^bits levels and shown again as
// round(level * 255 / (2^bits - 1)), as the suite's 16-bit files hold it.
uint8_t AtBits(uint8_t value, int bits) {
    const double top = (1 << bits) - 1;
    const double level = std::round(value * top / 255.0);
    return static_cast<uint8_t>(std::lround(level * 255.0 / top));
}

// The same 40-byte-header file with its short palette completed by black
// entries to 2^depth and the rows right behind it: the layout the reader
// always took as it is.
Bytes WithFullPalette(const Bytes& file) {
    const uint32_t used = testing::Little32At(file, 46);
    const uint32_t full = uint32_t{1} << file.at(28);
    Bytes padded(file.begin(), file.begin() + 54 + used * 4);
    padded.insert(padded.end(), (full - used) * 4, 0);
    padded.insert(padded.end(), file.begin() + testing::Little32At(file, 10), file.end());
    testing::PutLittle32At(padded, 2, static_cast<uint32_t>(padded.size()));
    testing::PutLittle32At(padded, 10, 54 + full * 4);
    testing::PutLittle32At(padded, 46, 0);
    return padded;
}

class BmpSuiteTest : public ::testing::Test {
protected:
    // The picture of suite file `name`; empty when refused.
    DibBlock Read(const std::string& name) {
        return ToImage(CBmpFile().ReadPackedDib(SuiteFile(name)));
    }
    DibBlock ReadBytes(const Bytes& bytes) {
        const std::string path = folder.file("picture.bmp");
        testing::WriteFileBytes(path, bytes);
        return ToImage(CBmpFile().ReadPackedDib(path));
    }

    // Exactly one "Can not read the file!" naming `path` and some reason.
    void ExpectOneCannotReadMessage(const std::string& path) {
        const std::vector<std::string> texts = prompts.texts();
        ASSERT_EQ(texts.size(), 1u) << path;
        EXPECT_TRUE(testing::IsCannotReadMessage(texts[0], path)) << texts[0];
    }

    testing::ScopedRecordingPrompts prompts;
    testing::TemporaryFolder folder;
};

TEST_F(BmpSuiteTest, AllTwentySevenGoodFilesAreRead) {
    const std::vector<std::string> good = SuiteFolder("g");
    EXPECT_EQ(good.size(), 27u);
    for (const std::string& name : good) {
        const DibBlock image = Read(name);
        EXPECT_FALSE(image.empty()) << name;
        EXPECT_EQ(image.width(), name == "g/pal8w124"   ? 124
                                 : name == "g/pal8w125" ? 125
                                 : name == "g/pal8w126" ? 126
                                                        : 127)
            << name;
    }
    EXPECT_TRUE(prompts.messages.empty()) << ::testing::PrintToString(prompts.texts());
}

TEST_F(BmpSuiteTest, EveryVariantDrawsThePictureOfItsPlainFile) {
    // Each plain file is one the reader read before it knew the variants: a
    // full palette right after a 40-byte header, 24 bits, or run-length data.
    const std::map<std::string, std::vector<std::string>> variants = {
        {"g/pal1", {"g/pal1wb"}},
        {"g/pal4rle", {"g/pal4"}},
        {"g/pal8-0", {"g/pal8", "g/pal8rle", "g/pal8topdown", "g/pal8os2", "g/pal8v4", "g/pal8v5"}},
        {"g/rgb24", {"g/rgb24pal", "g/rgb32", "g/rgb32bf", "g/rgb32bfdef"}},
    };
    for (const auto& [plainName, names] : variants) {
        const DibBlock plain = Read(plainName);
        ASSERT_FALSE(plain.empty()) << plainName;
        for (const std::string& name : names) {
            const DibBlock variant = Read(name);
            EXPECT_TRUE(testing::SamePixels(variant.dib(), plain.dib())) << name;
        }
    }
    // The picture starts red at the top left; a reader that lost the rows
    // would not draw it.
    EXPECT_EQ(PixelAt(Read("g/rgb24").dib(), 0, 0), (Bgr{0, 0, 255}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(BmpSuiteTest, SixteenBitFilesShowTheColourPictureAtTheirChannelsLevels) {
    const DibBlock colour = Read("g/rgb24");
    ASSERT_FALSE(colour.empty());
    struct Case {
        std::string name;
        int redBits, greenBits, blueBits;
    };
    for (const Case& c : {Case{"g/rgb16", 5, 5, 5}, Case{"g/rgb16bfdef", 5, 5, 5},
                          Case{"g/rgb16-565", 5, 6, 5}, Case{"g/rgb16-565pal", 5, 6, 5}}) {
        const DibBlock image = Read(c.name);
        ASSERT_FALSE(image.empty()) << c.name;
        int mismatches = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 127; ++x) {
                const Bgr full = PixelAt(colour.dib(), x, y);
                const Bgr expected{AtBits(full.blue, c.blueBits), AtBits(full.green, c.greenBits),
                                   AtBits(full.red, c.redBits)};
                mismatches += PixelAt(image.dib(), x, y) != expected;
            }
        EXPECT_EQ(mismatches, 0) << c.name;
    }
    // The top left is pure red: level 31 of 5 bits is 255, not 248.
    EXPECT_EQ(PixelAt(Read("g/rgb16").dib(), 0, 0), (Bgr{0, 0, 255}));
}

TEST_F(BmpSuiteTest, OtherGoodFilesDrawTheirPictures) {
    const DibBlock pal1 = Read("g/pal1");
    const DibBlock pal1bg = Read("g/pal1bg");
    ASSERT_FALSE(pal1bg.empty());
    // The same drawing, in blue and green instead of black and white.
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 127; ++x)
            ASSERT_EQ(PixelAt(pal1bg.dib(), x, y), PixelAt(pal1.dib(), x, y) == testing::kBlack
                                                       ? (Bgr{255, 64, 64})
                                                       : (Bgr{64, 255, 64}))
                << x << "," << y;

    // Narrower pictures: the top left corner of the 8-bit picture, each row
    // padded differently.
    const DibBlock pal8 = Read("g/pal8-0");
    for (const int width : {124, 125, 126}) {
        const DibBlock narrow = Read("g/pal8w" + std::to_string(width));
        ASSERT_EQ(narrow.height(), width - 63);
        for (int y = 0; y < narrow.height(); ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(PixelAt(narrow.dib(), x, y), PixelAt(pal8.dib(), x, y)) << width;
    }
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(BmpSuiteTest, ShortPalettesDrawAsTheSameFileWithAFullPalette) {
    for (const std::string name : {"g/pal4", "g/pal4gs", "g/pal8", "g/pal8gs", "g/pal8nonsquare",
                                   "g/pal8w124", "g/pal8w125", "g/pal8w126"}) {
        const Bytes file = testing::ReadFileBytes(SuiteFile(name));
        ASSERT_LT(testing::Little32At(file, 46), uint32_t{1} << file[28]) << name;
        const DibBlock image = Read(name);
        ASSERT_FALSE(image.empty()) << name;
        EXPECT_TRUE(testing::SamePixels(image.dib(), ReadBytes(WithFullPalette(file)).dib()))
            << name;
        if (name.find("gs") == std::string::npos)
            continue;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const Bgr pixel = PixelAt(image.dib(), x, y);
                ASSERT_TRUE(pixel.blue == pixel.green && pixel.green == pixel.red) << name;
            }
    }
    // The converted picture keeps the file's resolution (here not square).
    const Bytes file = testing::ReadFileBytes(SuiteFile("g/pal8nonsquare"));
    const PackedDib dib = CBmpFile().ReadPackedDib(SuiteFile("g/pal8nonsquare"));
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib.header()->biXPelsPerMeter, static_cast<int32_t>(testing::Little32At(file, 38)));
    EXPECT_EQ(dib.header()->biYPelsPerMeter, static_cast<int32_t>(testing::Little32At(file, 42)));
    EXPECT_NE(dib.header()->biXPelsPerMeter, dib.header()->biYPelsPerMeter);
    EXPECT_TRUE(prompts.messages.empty());
}

// What a questionable or bad file gives: read, refused as damaged, or refused
// with a sentence naming a kind of BMP the program does not read.
struct Outcome {
    bool read = false;
    std::string reason;
};
const Outcome kRead{true, ""};
const Outcome kDamaged{false, ""};
Outcome NotRead(const std::string& reason) {
    return {false, reason};
}

class BmpSuiteOutcomeTest : public BmpSuiteTest {
protected:
    // Reads every file of `folder`, which must be exactly those of `expected`.
    void ExpectOutcomes(const std::string& folderName,
                        const std::map<std::string, Outcome>& expected) {
        std::vector<std::string> listed;
        for (const auto& [name, outcome] : expected)
            listed.push_back(folderName + "/" + name);
        ASSERT_EQ(SuiteFolder(folderName), listed);
        for (const auto& [name, outcome] : expected) {
            prompts.messages.clear();
            const DibBlock image = Read(folderName + "/" + name);
            EXPECT_EQ(!image.empty(), outcome.read) << name;
            const std::string path = SuiteFile(folderName + "/" + name);
            if (outcome.read)
                EXPECT_TRUE(prompts.messages.empty()) << name;
            else if (outcome.reason.empty())
                ExpectOneCannotReadMessage(path);
            else
                EXPECT_EQ(prompts.texts(),
                          std::vector<std::string>{testing::CannotReadMessage(
                              path, "unsupported variant: " + outcome.reason)})
                    << name;
        }
    }
};

TEST_F(BmpSuiteOutcomeTest, BadFilesAreRefusedOrReadHarmlessly) {
    ExpectOutcomes("b", {
                            {"badbitcount", kDamaged},
                            {"badbitssize", kRead}, // the image size field is not needed
                            {"baddens1", kRead},    // resolution is not interpreted
                            {"baddens2", kRead},
                            {"badfilesize", kDamaged},
                            {"badheadersize", kRead}, // 66 bytes, skipped as later versions' fields
                            {"badpalettesize", kDamaged},
                            {"badplanes", kRead},
                            {"badrle", kDamaged},
                            {"badrle4", kDamaged},
                            {"badrle4bis", kDamaged},
                            {"badrle4ter", kDamaged},
                            {"badrlebis", kDamaged},
                            {"badrleter", kDamaged},
                            {"badwidth", kDamaged},
                            {"pal8badindex", kRead}, // indices past the palette show black
                            {"reallybig", kDamaged},
                            {"rgb16-880", kRead}, // no blue bits: blue is 0
                            {"rletopdown", kDamaged},
                            {"shortfile", kDamaged},
                        });
}

TEST_F(BmpSuiteOutcomeTest, QuestionableFilesAreReadOrRefusedWithTheirReason) {
    const Outcome twoBit = NotRead("2 bits per pixel");
    const Outcome wide = NotRead("colour fields wider than 16 bits");
    ExpectOutcomes("q",
                   {
                       {"pal1huffmsb", NotRead("Huffman compression")},
                       {"pal1p1", kRead},
                       {"pal2", twoBit},
                       {"pal2color", twoBit},
                       {"pal4rlecut", kRead}, // ends early: the rest shows palette entry 0
                       {"pal4rletrns", kRead},
                       {"pal8offs", kRead},
                       {"pal8os2-hs", kDamaged}, // the file's size field holds other values
                       {"pal8os2-sz", kDamaged},
                       {"pal8os2sp", kDamaged}, // a short OS/2 1.x palette cannot be told
                       {"pal8os2v2", kRead},
                       {"pal8os2v2-16", kRead},
                       {"pal8os2v2-40sz", kDamaged},
                       {"pal8os2v2-sz", kDamaged},
                       {"pal8oversizepal", kRead},
                       {"pal8rlecut", kRead},
                       {"pal8rletrns", kRead},
                       {"rgb16-231", kRead},
                       {"rgb16-3103", kRead},
                       {"rgb16faketrns", kRead},
                       {"rgb24jpeg", NotRead("a JPEG picture inside the BMP file")},
                       {"rgb24largepal", kRead},
                       {"rgb24lprof", kRead},
                       {"rgb24png", NotRead("a PNG picture inside the BMP file")},
                       {"rgb24rle24", NotRead("24-bit run-length encoding")},
                       {"rgb32-111110", kRead},
                       {"rgb32-7187", wide},
                       {"rgb32-xbgr", kRead},
                       {"rgb32fakealpha", kRead},
                       {"rgb32h52", kRead},
                       {"rgba16-1924", kRead},
                       {"rgba16-4444", kRead},
                       {"rgba16-5551", kRead},
                       {"rgba32-1", kRead},
                       {"rgba32-1010102", kRead},
                       {"rgba32-2", kRead},
                       {"rgba32-61754", wide},
                       {"rgba32-81284", kRead},
                       {"rgba32abf", kRead},
                       {"rgba32h56", kRead},
                       {"rgba64", NotRead("64 bits per pixel")},
                   });
}

TEST_F(BmpSuiteTest, QuestionableFilesThatAreReadDrawTheirPlainFilesPicture) {
    const std::map<std::string, std::vector<std::string>> variants = {
        {"g/pal8-0", {"q/pal8offs", "q/pal8oversizepal", "q/pal8os2v2", "q/pal8os2v2-16"}},
        {"g/rgb16", {"q/rgb16faketrns"}},
        {"g/rgb24",
         {"q/rgb24largepal", "q/rgb24lprof", "q/rgb32fakealpha", "q/rgb32h52", "q/rgb32-xbgr"}},
    };
    for (const auto& [plainName, names] : variants) {
        const DibBlock plain = Read(plainName);
        for (const std::string& name : names)
            EXPECT_TRUE(testing::SamePixels(Read(name).dib(), plain.dib())) << name;
    }
}

TEST_F(BmpSuiteTest, EveryReaderPathGivesTheSameBlockAndRefusal) {
    std::vector<std::string> all;
    for (const char* folderName : {"g", "q", "b"})
        for (const std::string& name : SuiteFolder(folderName))
            all.push_back(name);
    for (const std::string& name : all) {
        const std::string path = SuiteFile(name);
        prompts.messages.clear();
        const PackedDib fromFile = CBmpFile().ReadPackedDib(path);
        const std::vector<std::string> fileMessages = prompts.texts();
        const Bytes bytes = testing::ReadFileBytes(path);
        const BmpReading fromMemory = ReadBmpBytes(bytes.data(), bytes.size());
        ASSERT_EQ(static_cast<bool>(fromMemory.picture), static_cast<bool>(fromFile)) << name;
        if (fromFile) {
            ASSERT_EQ(fromMemory.picture.size(), fromFile.size()) << name;
            EXPECT_EQ(std::memcmp(fromMemory.picture.data(), fromFile.data(), fromFile.size()), 0)
                << name;
        } else {
            if (fromMemory.refusal.empty())
                ExpectOneCannotReadMessage(path);
            else
                EXPECT_EQ(fileMessages,
                          std::vector<std::string>{testing::CannotReadMessage(
                              path, "unsupported variant: " + fromMemory.refusal)})
                    << name;
        }
        const PictureFromFile opened = OpenPictureFile(path);
        ASSERT_EQ(static_cast<bool>(opened.picture), static_cast<bool>(fromFile)) << name;
        if (fromFile) {
            EXPECT_EQ(std::memcmp(opened.picture.data(), fromFile.data(), fromFile.size()), 0)
                << name;
        }
    }
}

} // namespace
} // namespace halvera
