#include "measure/CalFile.h"

#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>
#include <vector>

namespace halvera {
namespace {

class CalFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("halvera-calfile-" + std::to_string(::getpid()));
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::string PathOf(const char* name) const { return (directory_ / name).string(); }

    static void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }
    static std::vector<uint8_t> ReadBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path directory_;
};

TEST_F(CalFileTest, LayoutIsLittleEndianRawDoublesWithoutPadding) {
    const CalibrationRecord record{2, 1.0, -2.5, 0x01020304, -1};
    const CalFileBytes bytes = EncodeCalibration(record);
    const std::vector<uint8_t> expected = {
        'R',  'U',  'L',  'E',  'R',  0,                 // magic
        2,    0,    0,    0,                             // unit
        0,    0,    0,    0,    0,    0,    0xF0, 0x3F,  // 1.0
        0,    0,    0,    0,    0,    0,    0x04, 0xC0,  // -2.5
        0x04, 0x03, 0x02, 0x01, 0xFF, 0xFF, 0xFF, 0xFF}; // width, height
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()), expected);
}

TEST_F(CalFileTest, SaveThenLoadReproducesTheDoublesBitForBit) {
    const std::string path = PathOf("a.Cal");
    const CalibrationRecord saved{4, 0.1 + 0.2, 1.0 / 3.0, 1234, 7};
    ASSERT_TRUE(WriteCalFile(path, saved));
    EXPECT_EQ(std::filesystem::file_size(path), kCalFileSize);

    CalibrationRecord loaded{};
    ASSERT_EQ(ReadCalFile(path, loaded), CalFileRead::Read);
    EXPECT_EQ(loaded, saved);
    EXPECT_EQ(std::bit_cast<uint64_t>(loaded.realX), std::bit_cast<uint64_t>(saved.realX));
}

TEST_F(CalFileTest, AWrongByteAnywhereInTheMagicIsRefused) {
    const CalFileBytes good = EncodeCalibration({});
    for (size_t i = 0; i < 6; ++i) {
        std::vector<uint8_t> bytes(good.begin(), good.end());
        bytes[i] ^= 0x20;
        const std::string path = PathOf("bad.Cal");
        WriteBytes(path, bytes);
        CalibrationRecord record{3, 1.0, 1.0, 1, 1};
        EXPECT_EQ(ReadCalFile(path, record), CalFileRead::NotACalFile) << "byte " << i;
        EXPECT_EQ(record, (CalibrationRecord{3, 1.0, 1.0, 1, 1})) << "left unchanged";
    }
}

TEST_F(CalFileTest, AShortFileIsRefusedAndALongOneIsReadFromItsStart) {
    const CalibrationRecord written{1, 25.0, 50.0, 10, 20};
    const CalFileBytes good = EncodeCalibration(written);
    CalibrationRecord record;

    WriteBytes(PathOf("short.Cal"), std::vector<uint8_t>(good.begin(), good.end() - 1));
    EXPECT_EQ(ReadCalFile(PathOf("short.Cal"), record), CalFileRead::NotACalFile);

    std::vector<uint8_t> longer(good.begin(), good.end());
    longer.insert(longer.end(), {9, 9, 9});
    WriteBytes(PathOf("long.Cal"), longer);
    ASSERT_EQ(ReadCalFile(PathOf("long.Cal"), record), CalFileRead::Read);
    EXPECT_EQ(record, written);
}

TEST_F(CalFileTest, MissingFileCannotBeOpened) {
    CalibrationRecord record;
    EXPECT_EQ(ReadCalFile(PathOf("absent.Cal"), record), CalFileRead::CannotOpen);
    EXPECT_FALSE(WriteCalFile(PathOf("no-such-folder/a.Cal"), record));
}

TEST_F(CalFileTest, WritingOverALongerFileReplacesOnlyTheRecord) {
    const std::string path = PathOf("over.Cal");
    std::vector<uint8_t> old(40, 0xAA);
    WriteBytes(path, old);
    const CalibrationRecord record{1, 2.0, 3.0, 4, 5};
    ASSERT_TRUE(WriteCalFile(path, record));

    const std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), 40u);
    const CalFileBytes expected = EncodeCalibration(record);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), bytes.begin()));
    EXPECT_EQ(bytes[34], 0xAA);
}

TEST_F(CalFileTest, StoringARecordGoesThroughTheSettingsValidation) {
    AppSettings settings;
    RulerCalibration calibration(settings);
    StoreCalibration(calibration, {9, 5000.0, 12.5, 0, 300});
    EXPECT_EQ(CalibrationInForce(calibration), (CalibrationRecord{0, 2000.0, 12.5, 100, 300}));
}

} // namespace
} // namespace halvera
