// The source tree keeps its layers: no include climbs the order written in
// src/layers.txt, and no core file includes Qt or a window file. The checker
// itself is tried on small planted trees, so a check that finds nothing on
// the real tree is known to be able to find something.
#include "IncludeLayers.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace halvera::testing {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Describe(const std::vector<LayerViolation>& violations) {
    std::string text;
    for (const LayerViolation& v : violations)
        text += "src/" + v.file + ":" + std::to_string(v.line) + ": " + v.reason + "\n";
    return text;
}

// A scratch source tree, removed with the test.
class PlantedTree : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("halvera-layers-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
        write("image/DibImage.h", "#pragma once\n#include <cstdint>\n");
        write("view/Brush.h", "#pragma once\n#include \"image/DibImage.h\"\n");
        write("view/ui/MavView.h", "#pragma once\n#include <QWidget>\n#include \"view/Brush.h\"\n");
        write("app/ui/MainFrame.h", "#pragma once\n#include \"view/ui/MavView.h\"\n");
        write("app/ui/MainFrame.cpp",
              "#include \"app/ui/MainFrame.h\"\n#include \"HalveraVersion.h\"\n");
    }
    void TearDown() override { fs::remove_all(root_); }

    void write(const std::string& file, const std::string& text) {
        fs::create_directories((root_ / file).parent_path());
        std::ofstream(root_ / file) << text;
    }
    std::vector<LayerViolation> check() const {
        return CheckIncludeLayers(root_, {"image", "view", "view/ui", "app", "app/ui"});
    }

    fs::path root_;
};

TEST(IncludeLayers, NoFileOfTheSourceTreeIncludesAHigherLayerOrQtInACoreFile) {
    const fs::path source = HALVERA_SOURCE_DIR "/src";
    const std::vector<std::string> order = ParseLayerOrder(ReadFile(source / "layers.txt"));
    ASSERT_GE(order.size(), 10u) << "src/layers.txt names the layers";
    const std::vector<LayerViolation> violations = CheckIncludeLayers(source, order);
    EXPECT_TRUE(violations.empty()) << Describe(violations);
}

TEST(IncludeLayers, LayersAreTheFirstFolderAndItsUiSubfolder) {
    EXPECT_EQ(LayerOf("view/ui/MavView.h"), "view/ui");
    EXPECT_EQ(LayerOf("view/Brush.h"), "view");
    EXPECT_EQ(LayerOf("platform/ui/QtUserPrompts.cpp"), "platform/ui");
    EXPECT_EQ(LayerOf("cli/main.cpp"), "cli");
    EXPECT_EQ(ParseLayerOrder("# lowest first\nimage\n  view # core\n\nview/ui\n"),
              (std::vector<std::string>{"image", "view", "view/ui"}));
}

TEST_F(PlantedTree, AWellOrderedTreePasses) {
    EXPECT_TRUE(check().empty()) << Describe(check());
}

TEST_F(PlantedTree, AClimbingIncludeIsNamedWithItsFileAndLine) {
    write("image/DibImage.cpp", "#include \"image/DibImage.h\"\n\n#include \"view/Brush.h\"\n");
    const std::vector<LayerViolation> found = check();
    ASSERT_EQ(found.size(), 1u) << Describe(found);
    EXPECT_EQ(found[0].file, "image/DibImage.cpp");
    EXPECT_EQ(found[0].line, 3);
    EXPECT_NE(found[0].reason.find("view/Brush.h"), std::string::npos);
}

TEST_F(PlantedTree, AWindowLayerMayNotIncludeTheApplication) {
    write("view/ui/MavView.cpp", "#include \"app/ui/MainFrame.h\"\n");
    const std::vector<LayerViolation> found = check();
    ASSERT_EQ(found.size(), 1u) << Describe(found);
    EXPECT_EQ(found[0].file, "view/ui/MavView.cpp");
}

TEST_F(PlantedTree, ACoreFileMayIncludeNeitherQtNorAWindowFile) {
    write("app/CommandTable.cpp", "#include <QString>\n#include \"view/ui/MavView.h\"\n");
    const std::vector<LayerViolation> found = check();
    ASSERT_EQ(found.size(), 2u) << Describe(found);
    EXPECT_NE(found[0].reason.find("Qt"), std::string::npos);
    EXPECT_NE(found[1].reason.find("window file"), std::string::npos);
}

TEST_F(PlantedTree, AFolderOutsideTheOrderIsReported) {
    write("recipes/Recipe.h", "#pragma once\n");
    const std::vector<LayerViolation> found = check();
    ASSERT_EQ(found.size(), 1u) << Describe(found);
    EXPECT_EQ(found[0].file, "recipes/Recipe.h");
}

} // namespace
} // namespace halvera::testing
