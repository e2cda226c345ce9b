#include "ShellFixture.h"

#include "SyntheticImages.h"
#include "image/BmpFile.h"

#include <QCoreApplication>
#include <QTest>

namespace halvera::testing {

void ShellTest::SetUp() {
    ASSERT_TRUE(dir.isValid());
    app = std::make_unique<CHalveraApp>(std::make_unique<MemorySettingsStore>());
    app->InitInstance(false).show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame()));
}

void ShellTest::TearDown() {
    // Closing without questions: nothing is left modified behind a test.
    for (CChildFrame* window : frame().documentWindows())
        window->document().SetModifiedFlag(false);
    app.reset();
    settle();
}

CChildFrame* ShellTest::newImage(int width, int height) {
    app->settings().ImageWidth = width;
    app->settings().ImageHeight = height;
    CChildFrame* window = app->NewBlankDocument();
    settle();
    return window;
}

std::string ShellTest::tempPath(const std::string& name) const {
    return dir.filePath(QString::fromStdString(name)).toStdString();
}

std::string ShellTest::writeBmp(const std::string& name, int width, int height) {
    const DibBlock picture = MakeRgb(width, height, [](int x, int y) {
        return Bgr{uint8_t(x), uint8_t(y), 200};
    });
    const std::string path = tempPath(name);
    EXPECT_TRUE(CBmpFile().Write(path, picture.dib()));
    return path;
}

void ShellTest::settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

} // namespace halvera::testing
