// The desktop program killed while it holds unsaved work: the real program
// runs headless with its own configuration, state and cache folders, opens a
// picture with the measured items of its measurement file and inverts it
// (test hooks, see src/app/ui/main.cpp), autosaves every second, and is
// killed with SIGKILL after its first copy. The next start, made here with
// scripted answers, offers the image and recovers the inverted pixels and the
// items, though the measurement file is gone by then.
#include "ImageFileTestSupport.h"
#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "app/RecoveryCopyFile.h"
#include "app/RecoveryFolder.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/HalveraApp.h"
#include "app/ui/MainFrame.h"
#include "document/MavDoc.h"
#include "image/BmpFile.h"
#include "measure/MeasurementSidecar.h"
#include "platform/MemorySettingsStore.h"

#include <QTest>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace halvera {
namespace {

using testing::Bgr;
using testing::PixelAt;
using testing::TemporaryFolder;

namespace fs = std::filesystem;

Bgr PictureColour(int x, int y) {
    return Bgr{uint8_t(x * 5), uint8_t(y * 7), 200};
}

// This process's environment with `changes` ("NAME=value") in force.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& changes) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable) {
        const std::string entry = *variable;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        const bool changed = std::any_of(changes.begin(), changes.end(),
                                         [&](const std::string& c) { return c.starts_with(name); });
        if (!changed)
            variables.push_back(entry);
    }
    variables.insert(variables.end(), changes.begin(), changes.end());
    return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& words) {
    std::vector<char*> pointers;
    for (std::string& word : words)
        pointers.push_back(word.data());
    pointers.push_back(nullptr);
    return pointers;
}

// Starts the program on `picture` with `environment`, its output discarded.
pid_t StartProgram(const std::string& picture, std::vector<std::string> environment) {
    std::vector<std::string> words = {HALVERA_APP_PATH, picture};
    std::vector<char*> argv = Pointers(words);
    std::vector<char*> envp = Pointers(environment);
    const pid_t child = fork();
    if (child == 0) {
        const int nowhere = open("/dev/null", O_WRONLY);
        dup2(nowhere, STDOUT_FILENO);
        dup2(nowhere, STDERR_FILENO);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return child;
}

// Waits for the first recovery copy in `folder` while `child` runs; false
// when none appears within a minute or the program ends first.
bool WaitForCopy(const std::string& folder, pid_t child) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child)
            return false;
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
            if (entry.path().extension() == kRecoveryCopyExtension)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// Items the program reads from the measurement file beside the picture: an
// edge line whose points need every digit of a double, and a point.
MeasureData PlacedItems() {
    MeasureData items;
    EXPECT_TRUE(items.AppendEdgeLine({10.25, 5.5}, {30.75, 1.0 / 7.0}, 0.012345678901234567));
    EXPECT_TRUE(items.AppendPoint({3, 4}));
    return items;
}

TEST(RecoveryAfterKill, TheNextStartOffersTheImageAsLastAutosaved) {
    TemporaryFolder home;
    const std::string picture = home.file("cells.bmp");
    const DibBlock original = testing::MakeRgb(40, 30, PictureColour);
    ASSERT_TRUE(CBmpFile().Write(picture, original.dib()));
    const std::string measurementFile = MeasurementSidecarPath(picture);
    ASSERT_TRUE(WriteMeasurementSidecar(measurementFile, {"cells.bmp", {}, PlacedItems()}));
    const std::string state = home.file("state");
    const std::string recovery = RecoveryFolderFor(state.c_str(), nullptr);

    const pid_t child = StartProgram(
        picture,
        EnvironmentWith({"QT_QPA_PLATFORM=offscreen", "XDG_CONFIG_HOME=" + home.file("config"),
                         "XDG_STATE_HOME=" + state, "XDG_CACHE_HOME=" + home.file("cache"),
                         "HALVERA_AUTOSAVE_SECONDS=1", "HALVERA_TEST_INVERT_OPENED=1"}));
    ASSERT_GT(child, 0);
    const bool copied = WaitForCopy(recovery, child);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(copied) << "no recovery copy appeared in " << recovery;
    ASSERT_TRUE(WIFSIGNALED(status));
    // The items can only come back from the copy.
    ASSERT_TRUE(fs::remove(measurementFile));

    // The next start.
    testing::ScopedRecordingPrompts prompts;
    prompts.recoveryAnswers = {{RecoveryChoice::Recover}};
    CHalveraApp app(std::make_unique<MemorySettingsStore>());
    app.InitInstance(false).show();
    app.StartAutosave(recovery, std::chrono::milliseconds(0));
    app.OfferRecovery();

    ASSERT_EQ(prompts.recoveryOffers.size(), 1u);
    ASSERT_EQ(prompts.recoveryOffers[0].size(), 1u);
    EXPECT_EQ(prompts.recoveryOffers[0][0].name, "cells.bmp");
    EXPECT_EQ(prompts.recoveryOffers[0][0].width, 40);
    EXPECT_EQ(prompts.recoveryOffers[0][0].height, 30);
    ASSERT_EQ(app.CountDocuments(), 1);
    CMavDoc& recovered = app.mainFrame()->documentWindows()[0]->document();
    EXPECT_EQ(recovered.path(), picture);
    EXPECT_TRUE(recovered.IsModified());
    int differing = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            const Bgr was = PictureColour(x, y);
            const Bgr inverted{uint8_t(255 - was.blue), uint8_t(255 - was.green),
                               uint8_t(255 - was.red)};
            differing += PixelAt(recovered.image(), x, y) != inverted;
        }
    }
    EXPECT_EQ(differing, 0) << "the recovered picture is the inverted one";
    EXPECT_TRUE(recovered.measureData().SameItems(PlacedItems()));
    EXPECT_EQ(recovered.measureData().edgeFit(MeasureKind::Line, 0),
              PlacedItems().edgeFit(MeasureKind::Line, 0));
    recovered.SetModifiedFlag(false);
}

} // namespace
} // namespace halvera
