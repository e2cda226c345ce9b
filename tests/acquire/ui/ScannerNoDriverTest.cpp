// Select scanner and Scan when the scanner library has no backend at all
// (the GUI tests' own empty configuration): each says why there is no scanner.
#include "SaneTestConfig.h"
#include "ShellFixture.h"
#include "acquire/ui/ScannerCommands.h"
#include "view/CommandIds.h"

#include <QTest>

namespace halvera::testing {
namespace {

using namespace std::chrono_literals;

class ScannerNoDriverTest : public ShellTest {
protected:
    // Runs `command` and waits for its message.
    void runAndWaitForMessage(int command) {
        const size_t before = prompts.messages.size();
        frame().router().dispatch(command);
        ASSERT_TRUE(QTest::qWaitFor([&] { return prompts.messages.size() > before; }, 30000));
    }

    Watchdog watchdog{60s, "a scanner test without driver"};
};

TEST_F(ScannerNoDriverTest, BothCommandsSayWhyThereIsNoScanner) {
    // A source of a backend that is not installed at all.
    app->settings().ScannerSource = "nosuch:0";
    runAndWaitForMessage(kIdSelectScanner);
    runAndWaitForMessage(kIdScanImage);
    EXPECT_EQ(prompts.texts(), (std::vector<std::string>{
                                   "No scanner was found.",
                                   "The scanner nosuch:0 could not be opened: Invalid argument."}));
    for (const MessageRequest& message : prompts.messages)
        EXPECT_EQ(message.icon, MessageIcon::Warning);
    EXPECT_EQ(app->settings().ScannerSource, "nosuch:0") << "the choice is kept";
    EXPECT_EQ(app->scanner().scanWindow(), nullptr);
    EXPECT_TRUE(frame().router().state(kIdScanImage).enabled) << "Scan can be tried again";
    EXPECT_EQ(prompts.waitCursorBegins, prompts.waitCursorEnds);

    // Without a chosen source there is nothing to open either.
    app->settings().ScannerSource.clear();
    runAndWaitForMessage(kIdScanImage);
    EXPECT_EQ(prompts.texts().back(), "No scanner was found.");
}

} // namespace
} // namespace halvera::testing
