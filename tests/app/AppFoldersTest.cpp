#include "app/framework/AppFolders.h"
#include "app/Settings.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

using namespace qvltest;

namespace {

constexpr char kUserShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
// The shell copies every folder it resolves into this older key.
constexpr char kShellFolders[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

} // namespace

// The folders below the documents are seen through the shell in the test below; without a
// documents folder, which every test machine has, they lie beside the program.
TEST(FolderRules, WithoutDocumentsTheFoldersLieBesideTheProgram) {
    EXPECT_EQ(OutputFolderRule("D:\\", "C:\\Program Files\\Quaverlane"), "D:\\My Music\\Quaverlane")
        << "a documents folder ending in a backslash gets no second one";
    EXPECT_EQ(OutputFolderRule("", "C:\\Program Files\\Quaverlane"), "C:\\Program Files\\Quaverlane\\Output");
    EXPECT_EQ(CaptureFolderRule("", "C:\\Program Files\\Quaverlane"), "C:\\Program Files\\Quaverlane\\Temp");
}

TEST(FolderRules, DataFolderIsTheDefaultOutputFolderWhateverTheUserChose) {
    TestFolder root;
    Settings& settings = GetSettings();
    std::string chosen = settings.outputFolder;
    std::string before = DataFolder();
    settings.outputFolder = root / "chosen";
    EXPECT_EQ(DataFolder(), before);
    EXPECT_EQ(DataFolder(), DefaultOutputFolder());
    EXPECT_EQ(ProjectFilePath(), DefaultOutputFolder() + "\\disc.xml");
    settings.outputFolder = chosen;
}

TEST(FolderRules, DefaultFoldersFollowTheShellsDocumentsFolder) {
    TestFolder root;
    std::string documents = root / "redirected docs";
    // Wine makes a missing documents folder a link to the Unix home folder: it must exist first.
    ASSERT_TRUE(CreateDirectoryA(documents.c_str(), nullptr));
    RegistryValue cache(HKEY_CURRENT_USER, kShellFolders, "Personal",
                        ReadRegistryString(HKEY_CURRENT_USER, kShellFolders, "Personal"));
    RegistryValue personal(HKEY_CURRENT_USER, kUserShellFolders, "Personal", documents);

    EXPECT_EQ(DocumentsFolder(), documents);
    EXPECT_EQ(DefaultOutputFolder(), documents + "\\My Music\\Quaverlane");
    EXPECT_EQ(DefaultCaptureFolder(), documents + "\\Quaverlane");
    EXPECT_EQ(DataFolder(), documents + "\\My Music\\Quaverlane");
    EXPECT_EQ(LogFilePath(), documents + "\\Quaverlane\\qvl.log");
}
