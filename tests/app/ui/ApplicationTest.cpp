#include "RecordingPrompts.h"
#include "SyntheticImages.h"
#include "app/RecentFileList.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/HalveraApp.h"
#include "app/ui/MainFrame.h"
#include "image/BmpFile.h"
#include "platform/MemorySettingsStore.h"
#include "platform/ui/QtSettingsStore.h"
#include "view/CommandIds.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace halvera::testing {
namespace {

TEST(RecentFileList, KeepsTheNewestFirstEachPathOnce) {
    RecentFileList list(4);
    for (const char* path : {"a", "b", "c", "b", "d", "e"})
        list.add(path);
    EXPECT_EQ(list.paths(), (std::vector<std::string>{"e", "d", "b", "c"}));
    list.remove("d");
    EXPECT_EQ(list.paths(), (std::vector<std::string>{"e", "b", "c"}));
    list.add("");
    EXPECT_EQ(list.paths().size(), 3u);
}

TEST(RecentFileList, SurvivesTheSettingsStoreAndForgetsDroppedEntries) {
    MemorySettingsStore store;
    RecentFileList list(4);
    for (const char* path : {"/a.bmp", "/b.jpg", "/c.bmp", "/d.bmp"})
        list.add(path);
    list.save(store);
    list.remove("/b.jpg");
    list.remove("/c.bmp");
    list.save(store);
    RecentFileList loaded(4);
    loaded.load(store);
    EXPECT_EQ(loaded.paths(), (std::vector<std::string>{"/d.bmp", "/a.bmp"}));
}

class ApplicationTest : public ::testing::Test {
protected:
    QString iniPath() const { return dir.filePath("Halvera.ini"); }
    std::string picturePath() {
        const DibBlock picture = MakeUniformRgb(640, 480, Bgr{1, 2, 3});
        const std::string path = dir.filePath("wide.bmp").toStdString();
        EXPECT_TRUE(CBmpFile().Write(path, picture.dib()));
        return path;
    }

    ScopedRecordingPrompts prompts;
    QTemporaryDir dir;
};

TEST_F(ApplicationTest, StartsWithNoImageAndWritesTheSettingsAtExit) {
    const std::string path = picturePath();
    {
        CHalveraApp app(std::make_unique<QtSettingsStore>(iniPath()));
        CMainFrame& frame = app.InitInstance(false);
        frame.show();
        EXPECT_EQ(app.CountDocuments(), 0);
        ASSERT_NE(app.OpenDocumentFile(path), nullptr);
        EXPECT_EQ(app.CountDocuments(), 1);
        app.settings().PencilSize = 250; // out of range: held at exit
        frame.close();
        QCoreApplication::processEvents();
    }
    QtSettingsStore store(iniPath());
    EXPECT_EQ(store.readInt(kSettingsSection, "ImageWidth"), 640);
    EXPECT_EQ(store.readInt(kSettingsSection, "ImageHeight"), 480);
    EXPECT_EQ(store.readInt(kSettingsSection, "PencilSize"), 6);
    EXPECT_EQ(store.readString("Recent File List", "File1"), path);

    // The next run offers the file again from the File menu.
    CHalveraApp app(std::make_unique<QtSettingsStore>(iniPath()));
    CMainFrame& frame = app.InitInstance(false);
    QMenu* file = frame.menuBar()->actions().front()->menu();
    emit file->aboutToShow();
    QStringList texts;
    for (QAction* action : file->actions()) {
        if (action->isVisible())
            texts << action->text();
    }
    EXPECT_TRUE(texts.contains(QStringLiteral("&1 ") + QString::fromStdString(path)))
        << texts.join('|').toStdString();
    EXPECT_FALSE(texts.contains(QStringLiteral("Recent File")));
    frame.router().dispatch(kIdFileMru1);
    EXPECT_EQ(app.CountDocuments(), 1);
}

TEST_F(ApplicationTest, EmptyRecentListShowsTheDisabledPlaceholder) {
    CHalveraApp app(std::make_unique<MemorySettingsStore>());
    CMainFrame& frame = app.InitInstance(false);
    QMenu* file = frame.menuBar()->actions().front()->menu();
    emit file->aboutToShow();
    QAction* placeholder = frame.menuAction(kIdFileMru1);
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->text(), QStringLiteral("Recent File"));
    EXPECT_TRUE(placeholder->isVisible());
    EXPECT_FALSE(placeholder->isEnabled());
}

} // namespace
} // namespace halvera::testing
