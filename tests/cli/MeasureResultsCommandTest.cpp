// Runs the results options of `halvera-cli measure` as a user would.
#include "CliRunner.h"
#include "ImageFileTestSupport.h"
#include "measure/OutputItemsFile.h"
#include "measure/ToleranceFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace halvera {
namespace {

using testing::CliResult;
using testing::ReadFileBytes;
using testing::TemporaryFolder;

TEST(MeasureResultsCommand, PanelRowsPlainAndJudged) {
    const CliResult plain = testing::RunMeasureCommand({"point:105,94", "point:3,4", "--panel", "point"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(plain.out, "(1)\t105.000\t94.000\n(2)\t3.000\t4.000\n");

    const CliResult judged =
        testing::RunMeasureCommand({"--calibration", "0,10,10,100,100", "point:105,94", "--tolerance", "0,10,0.5,-0.5",
                 "--tolerance", "1,10,0.5,-0.5", "--panel", "point", "--error-detect"});
    ASSERT_EQ(judged.status, 0) << judged.err;
    EXPECT_EQ(judged.out, "(1)\t10.500(0.500Pass)\t9.400(-0.600Error)\n");
}

TEST(MeasureResultsCommand, ToleranceFileRoundTripAndOverride) {
    TemporaryFolder folder;
    const std::string first = folder.file("first.Tol");
    const std::string second = folder.file("second.Tol");
    ASSERT_EQ(testing::RunMeasureCommand({"--tolerance", "2,50,0.1,-0.1", "--tolerance", "99,1e-300,2,3", "--save-tol",
                       first})
                  .status,
              0);
    ToleranceTable saved;
    ASSERT_EQ(ReadToleranceFile(first, saved), RecordRead::Done);
    EXPECT_EQ(saved.entries[2], (ToleranceEntry{50, 0.1, -0.1}));
    EXPECT_EQ(saved.entries[99], (ToleranceEntry{1e-300, 2, 3}));

    const CliResult result = testing::RunMeasureCommand({"line:0,0,50,0", "--tol", first, "--tolerance", "3,1,1,-1",
                                      "--save-tol", second, "--error-detect", "--panel", "line"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(result.out.starts_with("(1)\t50.000(0.000Pass)\t0.000(-1.000Pass)\t"));
    ToleranceTable overridden;
    ASSERT_EQ(ReadToleranceFile(second, overridden), RecordRead::Done);
    saved.entries[3] = {1, 1, -1};
    EXPECT_EQ(overridden, saved);
}

TEST(MeasureResultsCommand, UnreadableDataFilesFailWithTheirMessages) {
    TemporaryFolder folder;
    const std::string path = folder.file("short.dat");
    testing::WriteFileBytes(path, testing::Bytes{'T', 'O', 'L', 'E', 'R', 'A', 'N', 'C', 'E', 0});
    const CliResult tol = testing::RunMeasureCommand({"--tol", path});
    EXPECT_EQ(tol.status, 1);
    EXPECT_EQ(tol.err, "Can not read the file!\n");
    const CliResult items = testing::RunMeasureCommand({"--items", path});
    EXPECT_EQ(items.status, 1);
    EXPECT_EQ(items.err, "Cannot read the file!\n");
    EXPECT_EQ(testing::RunMeasureCommand({"--items", folder.file("absent.Itm")}).status, 1);
}

TEST(MeasureResultsCommand, SelectionFromFileThenSelectAndSave) {
    TemporaryFolder folder;
    const std::string items = folder.file("Items.Itm");
    ASSERT_EQ(testing::RunMeasureCommand({"--select", "12,3,12,0", "--save-items", items}).status, 0);
    OutputSelection saved;
    ASSERT_EQ(ReadOutputItemsFile(items, saved), RecordRead::Done);
    EXPECT_EQ(saved.items(), (std::vector<int>{12, 3, 0}));

    const std::string report = folder.file("Result.Txt");
    ASSERT_EQ(testing::RunMeasureCommand({"line:0,0,0,-10", "--items", items, "--report", report}).status, 0);
    EXPECT_TRUE(testing::ReadFileText(report).ends_with("\n\nAngle = 90.000(90.000Error)\n\n"));

    ASSERT_EQ(testing::RunMeasureCommand({"line:0,0,0,-10", "--items", items, "--select", "none", "--report", report})
                  .status,
              0);
    EXPECT_TRUE(std::regex_match(testing::ReadFileText(report), std::regex("\n[^\n]+\n\n\n\n")));
}

TEST(MeasureResultsCommand, SelectAndDeleteUsageErrors) {
    EXPECT_EQ(testing::RunMeasureCommand({"--select", "33"}).status, 2);
    EXPECT_EQ(testing::RunMeasureCommand({"--select", "1,-1"}).status, 2);
    EXPECT_EQ(testing::RunMeasureCommand({"--select", ""}).status, 2);
    EXPECT_EQ(testing::RunMeasureCommand({"point:1,1", "--delete", "point:0"}).status, 2);
    EXPECT_EQ(testing::RunMeasureCommand({"point:1,1", "--delete", "dots:1"}).status, 2);
    EXPECT_EQ(testing::RunMeasureCommand({"--tolerance", "100,1,1,1"}).status, 2);
    EXPECT_EQ(testing::RunMeasureCommand({"--tolerance", "1,1,1"}).status, 2);
    EXPECT_EQ(testing::RunMeasureCommand({"--tolerance", "1,nan,1,-1"}).status, 2);
    EXPECT_EQ(testing::RunMeasureCommand({"--tolerance", "1,1,inf,-1"}).status, 2);
}

TEST(MeasureResultsCommand, DeleteRenumbersRowsAndPointPairs) {
    // Pairs (1,2), (3,4), (1,4); deleting point 2 keeps (3,4) as (2,3) and (1,4) as (1,3).
    const CliResult result = testing::RunMeasureCommand({"point:0,0", "point:50,50", "point:30,40", "point:3,4",
                                      "pair:1,2", "pair:3,4", "pair:1,4", "--delete", "point:2",
                                      "--delete", "point:9", "--panel", "point", "--labels"});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "(1)\t0.000\t0.000\n(2)\t30.000\t40.000\n(3)\t3.000\t4.000\n"
                          "pair 16 6 (45.000)\n"
                          "pair 2 -14 (5.000)\n"
                          "point 0 -18 (0.000, 0.000)\n"
                          "point 30 22 (30.000, 40.000)\n"
                          "point 3 -14 (3.000, 4.000)\n");
}

TEST(MeasureResultsCommand, ReportOfTheFiftyPixelLine) {
    TemporaryFolder folder;
    const std::string report = folder.file("Result.Txt");
    ASSERT_EQ(testing::RunMeasureCommand({"line:10,20,60,20", "--report", report}).status, 0);
    const std::string text = testing::ReadFileText(report);
    const std::regex date("\n[0-2][0-9]:[0-5][0-9] [0-6][0-9],  [A-Z][a-z]+day, [A-Z][a-z]+ "
                          "[0-3][0-9], [0-9]{4}\n\n\nLength = 50\\.000\\(50\\.000Error\\)\n"
                          "Angle = 0\\.000\\(0\\.000Pass\\)\n(([A-Z][a-zA-Z]* = [^\n]+)\n){8}\n");
    EXPECT_TRUE(std::regex_match(text, date)) << text;
}

TEST(MeasureResultsCommand, NothingToOutput) {
    TemporaryFolder folder;
    const CliResult result = testing::RunMeasureCommand({"--report", folder.file("r.Txt")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "No data to output!\n");
    EXPECT_EQ(testing::RunMeasureCommand({"--csv", folder.file("r.csv")}).status, 1);
    EXPECT_FALSE(std::filesystem::exists(folder.file("r.Txt")));
}

TEST(MeasureResultsCommand, CsvExport) {
    TemporaryFolder folder;
    const std::string csv = folder.file("Result.csv");
    ASSERT_EQ(testing::RunMeasureCommand({"rect:0,0,10,40", "point:3,4", "--select", "19,1", "--tolerance",
                       "19,10,0,0", "--csv", csv})
                  .status,
              0);
    EXPECT_EQ(testing::ReadFileText(csv), "Image,Unit,XScale,YScale,Calibration,Kind,No,Y(Point),"
                             "Y(Point) judgement,Height(Rectangle),Height(Rectangle) judgement\n"
                             ",um,1.000000,1.000000,,Point,1,4.000,Error,,\n"
                             ",um,1.000000,1.000000,,Rectangle,1,,,10.000,Pass\n");
}

} // namespace
} // namespace halvera

namespace halvera {
namespace {

// Files the measure options write, each holding "old" before the run.
class MeasureChecksFirst : public ::testing::Test {
protected:
    std::string OldFile(const std::string& name) {
        const std::string path = folder.file(name);
        testing::WriteFileBytes(path, testing::Bytes{'o', 'l', 'd'});
        return path;
    }
    void ExpectUntouched(const std::string& path) { EXPECT_EQ(testing::ReadFileText(path), "old") << path; }

    TemporaryFolder folder;
};

// Every value is checked before any option runs: a wrong value late on the
// line leaves the files of earlier options as they were.
TEST_F(MeasureChecksFirst, AWrongValueAnywhereWritesNothing) {
    const std::string csv = OldFile("s.csv");
    const std::string report = OldFile("r.txt");
    const std::string tol = OldFile("t.Tol");
    const std::vector<std::vector<std::string>> wrong = {
        {"--calibration", "0,nan,1,1,1"},
        {"--calibration", "0,1,1,1"},
        {"--tolerance", "100,1,1,1"},
        {"--select", "1,40"},
        {"--delete", "square:1"},
        {"--panel", "triangle"},
        {"--bogus"},
        {"--cal"},
    };
    for (const auto& late : wrong) {
        SCOPED_TRACE(late[0]);
        std::vector<std::string> arguments = {"point:1,1", "--csv",      csv, "--report",
                                              report,      "--save-tol", tol};
        arguments.insert(arguments.end(), late.begin(), late.end());
        const CliResult result = testing::RunMeasureCommand(arguments);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_EQ(result.out, "");
        ExpectUntouched(csv);
        ExpectUntouched(report);
        ExpectUntouched(tol);
    }
}

// Files that options load must be readable before any option writes.
TEST_F(MeasureChecksFirst, AnUnreadableInputFileWritesNothing) {
    const std::string csv = OldFile("s.csv");
    const std::string damaged = folder.file("damaged.dat");
    testing::WriteFileBytes(damaged,
                            testing::Bytes{'T', 'O', 'L', 'E', 'R', 'A', 'N', 'C', 'E', 0});
    for (const std::string option : {"--cal", "--tol", "--items"}) {
        for (const std::string& input : {folder.file("absent.dat"), damaged}) {
            SCOPED_TRACE(option + " " + input);
            const CliResult result =
                testing::RunMeasureCommand({"point:1,1", "--values", "--csv", csv, option, input});
            EXPECT_EQ(result.status, 1) << result.err;
            EXPECT_FALSE(result.err.empty());
            EXPECT_EQ(result.out, "") << "no option ran";
            ExpectUntouched(csv);
        }
    }
}

// A file is read before any option writes, so reading one that an earlier
// option writes would read it as it was: such a pair is refused.
TEST_F(MeasureChecksFirst, ReadingAFileThatAnEarlierOptionWritesIsRefused) {
    const std::string tol = folder.file("t.Tol");
    const CliResult refused = testing::RunMeasureCommand({"point:1,1", "--tolerance", "0,5,1,-1", "--save-tol", tol,
                                       "--tol", folder.file("./t.Tol")});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("--tol reads " + folder.file("./t.Tol") +
                               ", which --save-tol writes before it"),
              std::string::npos)
        << refused.err;
    EXPECT_FALSE(std::filesystem::exists(tol));

    // Read first, then written: the order the options run in anyway.
    ASSERT_EQ(testing::RunMeasureCommand({"--tolerance", "0,5,1,-1", "--save-tol", tol}).status, 0);
    const CliResult roundTrip =
        testing::RunMeasureCommand({"point:1,1", "--tol", tol, "--tolerance", "1,7,1,-1", "--save-tol", tol});
    ASSERT_EQ(roundTrip.status, 0) << roundTrip.err;
    ToleranceTable saved;
    ASSERT_EQ(ReadToleranceFile(tol, saved), RecordRead::Done);
    EXPECT_EQ(saved.entries[0], (ToleranceEntry{5, 1, -1}));
    EXPECT_EQ(saved.entries[1], (ToleranceEntry{7, 1, -1}));
}

} // namespace
} // namespace halvera
