// The desktop program started from a terminal with no display at all: its
// help and version are answered without a window system.
#include "HalveraVersion.h"
#include "ProgramRunner.h"

#include <gtest/gtest.h>

namespace halvera {
namespace {

using testing::ProgramResult;
using testing::RunProgramCapturing;

// Nothing points the program at a window system: no X display, no Wayland
// one and no Qt platform plugin chosen.
const std::vector<std::string> kNoDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};

TEST(ProgramStart, VersionIsPrintedWithoutADisplay) {
    for (const std::string option : {"--version", "-v"}) {
        SCOPED_TRACE(option);
        const ProgramResult result = RunProgramCapturing(HALVERA_APP_PATH, {option}, kNoDisplay);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, std::string("Halvera ") + kHalveraVersion + "\n");
    }
}

TEST(ProgramStart, HelpIsPrintedWithoutADisplay) {
    for (const std::string option : {"--help", "-h"}) {
        SCOPED_TRACE(option);
        const ProgramResult result = RunProgramCapturing(HALVERA_APP_PATH, {option}, kNoDisplay);
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_NE(result.out.find("Usage: "), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("--version"), std::string::npos) << result.out;
        EXPECT_NE(result.out.find("[FILE...]"), std::string::npos) << result.out;
    }
}

// Qt's own options on the same line do not hide the question.
TEST(ProgramStart, VersionIsAnsweredBesideQtsOwnOptions) {
    const ProgramResult result =
        RunProgramCapturing(HALVERA_APP_PATH, {"-platform", "offscreen", "--version"}, kNoDisplay);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, std::string("Halvera ") + kHalveraVersion + "\n");
}

// Qt's own single-dash options are whole words, not runs of letters: the v of
// -reverse and the h of -stylesheet ask for neither version nor help, so the
// program goes on to read its line and refuses the unknown option.
TEST(ProgramStart, QtsOwnOptionsAreNotTakenForHelpOrVersion) {
    const ProgramResult result = RunProgramCapturing(
        HALVERA_APP_PATH,
        {"-platform", "offscreen", "-reverse", "-stylesheet", "none.qss", "--no-such-option"},
        kNoDisplay);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("no-such-option"), std::string::npos) << result.err;
}

} // namespace
} // namespace halvera
