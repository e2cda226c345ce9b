#include "ImageFileTestSupport.h"
#include "measure/ToleranceFile.h"
#include "measure/ToleranceTable.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace halvera {
namespace {

const ToleranceEntry kTen{10.0, 0.5, -0.5};

TEST(ToleranceJudgement, DeviationFromTheStandardIsJudgedInclusively) {
    EXPECT_EQ(ResultCellText(10.5, kTen, true), "10.500(0.500Pass)");
    EXPECT_EQ(ResultCellText(9.4, kTen, true), "9.400(-0.600Error)");
    EXPECT_EQ(ResultCellText(9.5, kTen, true), "9.500(-0.500Pass)");
    EXPECT_EQ(ResultCellText(10.5000001, kTen, true), "10.500(0.500Error)");
}

TEST(ToleranceJudgement, WithoutErrorDetectionTheCellIsTheValue) {
    EXPECT_EQ(ResultCellText(9.4, kTen, false), "9.400");
    EXPECT_EQ(ResultCellText(-0.0004, kTen, false), "-0.000");
    EXPECT_EQ(ResultCellText(1234567.8916, kTen, false), "1234567.892");
}

TEST(ToleranceJudgement, ZeroTableFailsEverythingButTheExactStandard) {
    const ToleranceTable table;
    EXPECT_TRUE(Judge(0.0, table.entries[5]).pass);
    EXPECT_FALSE(Judge(50.0, table.entries[2]).pass);
    EXPECT_EQ(FormatJudged(Judge(50.0, table.entries[2])), "50.000(50.000Error)");
}

TEST(ToleranceJudgement, NotANumberFails) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(Judge(nan, kTen).pass);
    const ToleranceEntry open{0.0, std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    EXPECT_FALSE(Judge(nan, open).pass);
    EXPECT_TRUE(Judge(1e300, open).pass);
    // An infinite standard gives an undefined deviation for an infinite value.
    const ToleranceEntry infinite{std::numeric_limits<double>::infinity(), 1.0, -1.0};
    EXPECT_FALSE(Judge(std::numeric_limits<double>::infinity(), infinite).pass);
}

ToleranceTable OddTable() {
    ToleranceTable table;
    for (int k = 0; k < ToleranceTable::kEntries; ++k)
        table.entries[static_cast<size_t>(k)] = {k * 0.1, 1.0 / (k + 3), -std::ldexp(1.0, -k)};
    table.entries[99] = {-0.0, std::numeric_limits<double>::denorm_min(), -1e308};
    return table;
}

TEST(ToleranceFile, RoundTripIsExactToTheBit) {
    testing::TemporaryFolder folder;
    const std::string path = folder.file("Tolerance.Tol");
    const ToleranceTable written = OddTable();
    ASSERT_TRUE(WriteToleranceFile(path, written));

    const std::vector<uint8_t> bytes = testing::ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 2410u);
    EXPECT_EQ(std::memcmp(bytes.data(), "TOLERANCE\0", 10), 0);
    double upperOfEntry1 = 0;
    std::memcpy(&upperOfEntry1, bytes.data() + 10 + 24 + 8, 8);
    EXPECT_EQ(upperOfEntry1, 0.25);

    ToleranceTable read;
    ASSERT_EQ(ReadToleranceFile(path, read), RecordRead::Done);
    EXPECT_EQ(std::memcmp(&read.entries, &written.entries, sizeof written.entries), 0);
}

TEST(ToleranceFile, WrongMagicOrShortFileLeavesTheTableAlone) {
    testing::TemporaryFolder folder;
    const std::string path = folder.file("t.Tol");
    ASSERT_TRUE(WriteToleranceFile(path, OddTable()));
    const std::vector<uint8_t> good = testing::ReadFileBytes(path);

    for (size_t at = 0; at < 10; ++at) {
        std::vector<uint8_t> bad = good;
        bad[at] ^= 0x20;
        testing::WriteFileBytes(path, bad);
        ToleranceTable table;
        EXPECT_EQ(ReadToleranceFile(path, table), RecordRead::WrongFormat) << "byte " << at;
        EXPECT_EQ(table, ToleranceTable());
    }
    testing::WriteFileBytes(path, std::vector<uint8_t>(good.begin(), good.end() - 1));
    ToleranceTable table;
    EXPECT_EQ(ReadToleranceFile(path, table), RecordRead::WrongFormat);
    EXPECT_EQ(table, ToleranceTable());

    EXPECT_EQ(ReadToleranceFile(folder.file("absent.Tol"), table), RecordRead::CannotOpen);
}

TEST(ToleranceFile, LongerFileIsReadFromItsStartAndReplacedWhole) {
    testing::TemporaryFolder folder;
    const std::string path = folder.file("t.Tol");
    std::vector<uint8_t> longer(5000, 0xAB);
    testing::WriteFileBytes(path, longer);
    ASSERT_TRUE(WriteToleranceFile(path, OddTable()));
    EXPECT_EQ(testing::ReadFileBytes(path).size(), 2410u);

    std::vector<uint8_t> padded = testing::ReadFileBytes(path);
    padded.resize(3000, 0x11);
    testing::WriteFileBytes(path, padded);
    ToleranceTable table;
    ASSERT_EQ(ReadToleranceFile(path, table), RecordRead::Done);
    EXPECT_EQ(table.entries[7], OddTable().entries[7]);
}

TEST(ToleranceFile, UnwritablePlaceFailsWithoutAFile) {
    testing::TemporaryFolder folder;
    EXPECT_FALSE(WriteToleranceFile(folder.file("missing/t.Tol"), OddTable()));
    EXPECT_FALSE(WriteToleranceFile(folder.file(""), OddTable()));
}

} // namespace
} // namespace halvera
