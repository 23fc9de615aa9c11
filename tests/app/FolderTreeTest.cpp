#include "app/framework/FolderTree.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

// Made with their parents when the capture folder is read from the registry (SettingsRegistryTest).
TEST(FolderTree, APathBlockedByAFileIsRefused) {
    TestFolder root;
    WriteFile(root / "file", "x");
    EXPECT_FALSE(CreateFolderTreeByHand(root / "file\\below"));
    EXPECT_FALSE(CreateFolderTree(root / "file\\below"));
    EXPECT_FALSE(FolderExists(root / "file\\below"));
}

TEST(FolderTree, DeletesNestedTreesWithReadOnlyFilesAndNothingBeside) {
    TestFolder root;
    std::string tree = root / "capture";
    CreateFolderTree(tree + "\\burn1\\sub");
    WriteFile(tree + "\\burn1\\sub\\leadin.dat", "data");
    SetFileAttributesA((tree + "\\burn1\\sub\\leadin.dat").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFile(root / "sibling.txt", "keep");

    DeleteFolderTree(tree + "\\");
    EXPECT_FALSE(FolderExists(tree));
    EXPECT_TRUE(FileExists(root / "sibling.txt")) << "only the tree goes";
    DeleteFolderTree(root / "missing");
    EXPECT_TRUE(FolderExists(root.Path()));
}

// A capture folder that is a drive's root is never wiped.
TEST(FolderTree, VolumeRootsAreRecognised) {
    for (const char* root : {"C:", "c:/", "\\\\server\\share\\", ""}) {
        EXPECT_TRUE(IsVolumeRoot(root)) << root;
    }
    for (const char* folder : {"C:\\Temp", "\\\\server\\share\\burns"}) {
        EXPECT_FALSE(IsVolumeRoot(folder)) << folder;
    }
}
