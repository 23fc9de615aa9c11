#include "finish/NameSanitiser.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// "C:\" when Windows lives on drive C.
std::string SystemDriveRoot() {
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    return std::string(system, 3);
}

std::string Sanitised(std::string path, char replacement, bool makeAbsolute) {
    SanitisePath(path, replacement, makeAbsolute);
    return path;
}

} // namespace

TEST(SanitisePath, RefusedCharactersAndDoubledSeparatorsAreReplaced) {
    EXPECT_EQ(Sanitised("C:\\a:b\\c*d//e", '-', true), "C:\\a-b\\c-d-\\e");
    EXPECT_EQ(Sanitised("C:\\q?\"<>|x", '_', false), "C:\\q_____x");
    EXPECT_EQ(Sanitised("C:\\a\\\\b", '-', true), "C:\\a-\\b");
    EXPECT_EQ(Sanitised("C:/Music/Burns", '-', true), "C:\\Music\\Burns");
    EXPECT_EQ(Sanitised("\\\\server\\share\\burns", '-', true), "\\\\server\\share\\burns")
        << "the leading pair of a network path stays";
    EXPECT_EQ(Sanitised("//server/share", '-', true), "\\\\server\\share");
}

TEST(SanitisePath, ControlCharactersUpTo25AreReplacedAndTheRestStay) {
    std::string path = "C:\\";
    std::string expected = "C:\\";
    for (char c = 1; c < 32; ++c) {
        path += c;
        expected += c <= 25 ? '-' : c;
    }
    EXPECT_EQ(Sanitised(path, '-', false), expected);
}

TEST(SanitisePath, RelativePathsArePutOnTheSystemDriveOnlyWhenAsked) {
    std::string root = SystemDriveRoot();
    EXPECT_EQ(Sanitised("Music\\", '-', true), root + "Music\\");
    EXPECT_EQ(Sanitised("\\Music", '-', true), root.substr(0, 2) + "\\Music");
    EXPECT_EQ(Sanitised("", '-', true), root);
    EXPECT_EQ(Sanitised("D:\\Music", '-', true), "D:\\Music") << "a drive is kept";
    EXPECT_EQ(Sanitised("Music\\", '-', false), "Music\\");
    EXPECT_EQ(Sanitised("\\Music", '-', false), "\\Music");
}
