#include "finish/NameSanitiser.h"
#include "tests/support/TestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

using qvltest::TestFolder;

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

TEST(SanitiseNameText, EveryRefusedCharacterBecomesTheReplacementText) {
    std::string text = "AC/DC: Live?";
    SanitiseNameText(text, "-");
    EXPECT_EQ(text, "AC-DC- Live-");
    text = "a:b/c\\d*e?f\"g<h>i|j";
    SanitiseNameText(text, "");
    EXPECT_EQ(text, "abcdefghij");
}

TEST(SanitiseNameText, CharactersAreReplacedOneAfterTheOtherAndReplacementsAreNotSearchedAgain) {
    // ":" goes first and brings in a "<", which the later pass for "<" replaces once more; the
    // replacement's own "<" is not looked at again.
    std::string text = "a:b";
    SanitiseNameText(text, "<x");
    EXPECT_EQ(text, "a<xxb");
    text = "|||";
    SanitiseNameText(text, "||");
    EXPECT_EQ(text, "||||||");
}

TEST(SanitiseFileName, RefusedAndControlCharactersBecomeTheReplacement) {
    std::string name = "a:b/c\\d*e?f\"g<h>i|j.mp3";
    SanitiseFileName(name, '_');
    EXPECT_EQ(name, "a_b_c_d_e_f_g_h_i_j.mp3");
    std::string expected;
    name.clear();
    for (char c = 1; c < 32; ++c) {
        name += c;
        expected += c <= 25 ? '_' : c;
    }
    SanitiseFileName(name, '_');
    EXPECT_EQ(name, expected);
}

TEST(FindFileInfo, FindsFilesAndFoldersWithTheirSizeAndLocalTimes) {
    TestFolder root;
    std::string file = root / "Title.MP3";
    qvltest::WriteFile(file, std::string(1234, 'x'));
    FoundFileInfo info;
    ASSERT_EQ(FindFileInfo(file, info), 1);
    EXPECT_EQ(info.size, 1234u);
    EXPECT_EQ(info.attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data));
    FILETIME local;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
    EXPECT_EQ(CompareFileTime(&info.lastWriteTime, &local), 0);

    FoundFileInfo folder;
    ASSERT_EQ(FindFileInfo(root.Path(), folder), 1);
    EXPECT_NE(folder.attributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_EQ(FindFileInfo(root.Path() + "\\", folder), 0) << "a path ending in a backslash is never found";
    EXPECT_EQ(FindFileInfo(root / "Title1.MP3", folder), 0);
}
