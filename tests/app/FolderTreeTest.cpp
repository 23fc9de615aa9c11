#include "app/FolderTree.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

TEST(FolderTree, CreatesDeepPathsThroughTheShellAndByHand) {
    TestFolder root;
    std::string deep = root / "a\\b\\c\\d\\e\\f\\g\\h";
    EXPECT_TRUE(CreateFolderTree(deep));
    EXPECT_TRUE(FolderExists(deep));
    EXPECT_TRUE(CreateFolderTree(deep + "\\")) << "an existing folder is success";

    std::string byHand = root / "x\\y\\z\\w\\";
    EXPECT_TRUE(CreateFolderTreeByHand(byHand));
    EXPECT_TRUE(FolderExists(root / "x\\y\\z\\w"));
    EXPECT_TRUE(CreateFolderTreeByHand(byHand));
}

TEST(FolderTree, ByHandRefusesAPathBlockedByAFile) {
    TestFolder root;
    WriteFile(root / "file", "x");
    EXPECT_FALSE(CreateFolderTreeByHand(root / "file\\below"));
    EXPECT_FALSE(CreateFolderTree(root / "file\\below"));
    EXPECT_FALSE(FolderExists(root / "file\\below"));
}

TEST(FolderTree, DeletesNestedTreesWithReadOnlyFiles) {
    TestFolder root;
    std::string tree = root / "capture";
    CreateFolderTree(tree + "\\burn1\\sub\\deeper");
    CreateFolderTree(tree + "\\burn2");
    WriteFile(tree + "\\burn1\\01.wav", "RIFF");
    WriteFile(tree + "\\burn1\\sub\\deeper\\x.dat", "data");
    WriteFile(tree + "\\burn2\\leadin.dat", "data");
    WriteFile(tree + "\\top.txt", "t");
    SetFileAttributesA((tree + "\\burn2\\leadin.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFile(root / "sibling.txt", "keep");

    DeleteFolderTree(tree);
    EXPECT_FALSE(FolderExists(tree));
    EXPECT_TRUE(FileExists(root / "sibling.txt")) << "only the tree goes";

    DeleteFolderTree(root / "missing");
    DeleteFolderTree(root / "missing\\");
    EXPECT_TRUE(FolderExists(root.Path()));
}

TEST(FolderTree, DeletingWithATrailingBackslashWorksToo) {
    TestFolder root;
    CreateFolderTree(root / "t\\u");
    WriteFile(root / "t\\u\\f", "1");
    DeleteFolderTree(root / "t\\");
    EXPECT_FALSE(FolderExists(root / "t"));
}

TEST(FolderTree, VolumeRootsAreRecognised) {
    for (const char* root : {"C:", "C:\\", "c:/", "\\\\server\\share", "\\\\server\\share\\", "", "\\"}) {
        EXPECT_TRUE(IsVolumeRoot(root)) << root;
    }
    for (const char* folder : {"C:\\Temp", "C:\\a\\", "\\\\server\\share\\burns"}) {
        EXPECT_FALSE(IsVolumeRoot(folder)) << folder;
    }
}
