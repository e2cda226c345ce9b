// Entry point of every GUI test: a real QApplication on the offscreen platform,
// with the settings kept in a private temporary folder, a scanner library
// that sees no scanner unless a test configures its own, and the views'
// feature commands installed as the application installs them.
#include "SaneTestConfig.h"
#include "app/ui/ViewCommandTable.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QTemporaryDir configHome;
    setenv("XDG_CONFIG_HOME", configHome.path().toLocal8Bit().constData(), 1);
    const halvera::testing::SaneTestConfig noScanners({});
    setenv("SANE_CONFIG_DIR", noScanners.directory().c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    halvera::InstallViewCommands();
    return RUN_ALL_TESTS();
}
