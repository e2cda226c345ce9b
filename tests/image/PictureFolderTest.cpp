// The pictures of a folder for a run on all of them: which files count, their
// order, and what is said about a folder that gives none.
#include "image/PictureFolder.h"

#include "ImageFileTestSupport.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace halvera {
namespace {

namespace fs = std::filesystem;
using testing::TemporaryFolder;

void Touch(const std::string& path) {
    std::ofstream(path) << "x";
}

std::vector<std::string> Names(const FolderPictures& pictures) {
    std::vector<std::string> names;
    for (const std::string& path : pictures.paths)
        names.push_back(fs::path(path).filename().string());
    return names;
}

TEST(PictureFolder, ListsEveryPictureEndingInAnyCaseInTheByteOrderOfTheNames) {
    const TemporaryFolder folder;
    for (const char* name : {"e.JPEG", "plate2.bmp", "b.png", "A.BMP", "notes.txt", "a.jpg",
                             "c.Tiff", "plate10.bmp", "d.tif", "noending", "old.png.bak"})
        Touch(folder.file(name));
    fs::create_symlink(folder.file("gone.bmp"), folder.file("link-to-nothing.png"));

    const FolderPictures pictures = PicturesInFolder(folder.file(""));
    EXPECT_EQ(pictures.failure, "");
    // Capitals before small letters, "10" before "2": the same order in every locale.
    EXPECT_EQ(Names(pictures),
              (std::vector<std::string>{"A.BMP", "a.jpg", "b.png", "c.Tiff", "d.tif", "e.JPEG",
                                        "plate10.bmp", "plate2.bmp"}));
    EXPECT_EQ(pictures.paths.front(), folder.file("A.BMP"));
    EXPECT_EQ(FolderPicturesProblem(folder.file(""), pictures), "");
}

TEST(PictureFolder, LeavesOutSubFoldersAndWhatLiesInThem) {
    const TemporaryFolder folder;
    fs::create_directory(folder.file("inner"));
    fs::create_directory(folder.file("looks-like.png"));
    Touch(folder.file("inner/deep.bmp"));
    Touch(folder.file("top.tiff"));
    const std::string path = folder.file("");
    // The folder named with or without its closing slash gives the same paths.
    const std::string withoutSlash = path.substr(0, path.size() - 1);
    for (const std::string& name : {path, withoutSlash}) {
        const FolderPictures pictures = PicturesInFolder(name);
        EXPECT_EQ(pictures.paths, std::vector<std::string>{folder.file("top.tiff")}) << name;
    }
}

TEST(PictureFolder, AFolderWithoutPicturesIsNamedInsteadOfGivingAnEmptyRun) {
    const TemporaryFolder folder;
    Touch(folder.file("readme.txt"));
    fs::create_directory(folder.file("more"));
    Touch(folder.file("more/hidden.png"));
    const FolderPictures pictures = PicturesInFolder(folder.file(""));
    EXPECT_EQ(pictures.failure, "");
    EXPECT_TRUE(pictures.paths.empty());
    EXPECT_EQ(FolderPicturesProblem("/data/batch7", pictures),
              "There are no pictures (.bmp, .jpg, .jpeg, .png, .tif or .tiff) in the folder "
              "/data/batch7.");
}

TEST(PictureFolder, AMissingFolderOrAFileIsAFailureWithItsReason) {
    const TemporaryFolder folder;
    const FolderPictures missing = PicturesInFolder(folder.file("no-such-folder"));
    EXPECT_TRUE(missing.paths.empty());
    EXPECT_EQ(missing.failure, "there is no such folder");
    EXPECT_EQ(FolderPicturesProblem("batch7", missing),
              "Can not read the folder batch7: there is no such folder");

    Touch(folder.file("single.bmp"));
    const FolderPictures file = PicturesInFolder(folder.file("single.bmp"));
    EXPECT_TRUE(file.paths.empty());
    EXPECT_EQ(file.failure, "it is not a folder");
}

TEST(PictureFolder, AFolderThatCannotBeReadIsAFailureWithItsReason) {
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every folder";
    const TemporaryFolder folder;
    fs::create_directory(folder.file("closed"));
    Touch(folder.file("closed/part.bmp"));
    fs::permissions(folder.file("closed"), fs::perms::none);
    const FolderPictures closed = PicturesInFolder(folder.file("closed"));
    fs::permissions(folder.file("closed"), fs::perms::owner_all); // so that it can be removed
    EXPECT_TRUE(closed.paths.empty());
    EXPECT_EQ(closed.failure, std::make_error_code(std::errc::permission_denied).message());
}

} // namespace
} // namespace halvera
