#pragma once

#include "RecordingPrompts.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/HalveraApp.h"
#include "app/ui/MainFrame.h"
#include "document/MavDoc.h"
#include "platform/MemorySettingsStore.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace halvera::testing {

// A running application with its main window shown, settings in memory and
// every question answered by RecordingPrompts.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new blank image of `width` x `height`, in its own window.
    CChildFrame* newImage(int width = 64, int height = 48);
    // Writes a `width` x `height` BMP picture into the temporary folder.
    std::string writeBmp(const std::string& name, int width, int height);
    std::string tempPath(const std::string& name) const;
    // Lets queued signals and deferred deletions run.
    static void settle();

    CMainFrame& frame() { return *app->mainFrame(); }

    ScopedRecordingPrompts prompts;
    QTemporaryDir dir;
    std::unique_ptr<CHalveraApp> app;
};

} // namespace halvera::testing
