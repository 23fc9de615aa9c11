#include "project/DiscCatalogue.h"

#include "app/Settings.h"
#include "tests/project/CatalogueTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

using namespace qvltest;

namespace {

TEST(DiscCatalogueLabels, NewLabelsCountTheDiscsOrNumberThePendingLabelWhateverTheCase) {
    DiscCatalogue catalogue;
    EXPECT_EQ(catalogue.NewDiscLabel(), "Disc#001");
    catalogue.SetPendingLabel("Mix");
    EXPECT_EQ(catalogue.NewDiscLabel(), "Mix");
    catalogue.AddDisc(MakeDisc("MIX", ""));
    catalogue.AddDisc(MakeDisc("mix(1)", ""));
    EXPECT_EQ(catalogue.NewDiscLabel(), "Mix(2)");
    catalogue.SetPendingLabel("");
    EXPECT_EQ(catalogue.NewDiscLabel(), "Disc#003");
    for (int n = 2; n < 120; ++n) {
        catalogue.AddDisc(MakeDisc("x", ""));
    }
    EXPECT_EQ(catalogue.DefaultDiscLabel(), "Disc#121");

    EXPECT_TRUE(catalogue.LabelExists("mIX", nullptr));
    EXPECT_FALSE(catalogue.LabelExists("mIX", catalogue.GetDisc(0))) << "the disc being renamed";
    EXPECT_TRUE(catalogue.LabelExists("MIX(1)", catalogue.GetDisc(0)));
    EXPECT_FALSE(catalogue.LabelExists("Mi", nullptr));
}

// The catalogue decides what it may delete by the output folder too, so each test names its own.
class DiscCatalogueFiles : public testing::Test {
protected:
    void SetUp() override { m_savedOutput = std::exchange(GetSettings().outputFolder, m_output.Path()); }
    void TearDown() override { GetSettings().outputFolder = m_savedOutput; }

    // A disc whose folder is created below the output folder (or is the output folder for "").
    DiscRecord& AddDisc(const std::string& label, const std::string& relativeFolder) {
        std::string folder = relativeFolder.empty() ? m_output.Path() : m_output / relativeFolder;
        CreateDirectoryA(folder.c_str(), nullptr);
        m_catalogue.AddDisc(MakeDisc(label, folder));
        return *m_catalogue.GetDisc(m_catalogue.GetCount() - 1);
    }

    TestFolder m_output;
    std::string m_savedOutput;
    DiscCatalogue m_catalogue;
};

TEST_F(DiscCatalogueFiles, DeletingADiscThatHoldsAnotherDiscsFolderKeepsTheOtherMusic) {
    DiscRecord& outer = AddDisc("Outer", "Outer");
    AddTrackFile(outer, m_output / "Outer\\01.mp3");
    WriteFile(m_output / "Outer\\cover.jpg", "picture");
    DiscRecord& inner = AddDisc("Inner", "Outer\\Inner");
    AddTrackFile(inner, m_output / "Outer\\Inner\\01.mp3");

    ASSERT_TRUE(m_catalogue.DeleteDisc(0));

    EXPECT_FALSE(FileExists(m_output / "Outer\\01.mp3"));
    EXPECT_TRUE(FileExists(m_output / "Outer\\Inner\\01.mp3"));
    EXPECT_TRUE(FileExists(m_output / "Outer\\cover.jpg"));
}

// The output folder holds every other disc's folder and the project file: a disc lying in it
// loses only its own tracks, whether the disc or its last track is deleted.
TEST_F(DiscCatalogueFiles, TheOutputFolderDiscGoesWithItsTracksOnly) {
    for (bool lastTrack : {false, true}) {
        SCOPED_TRACE(lastTrack ? "last track" : "disc");
        DiscRecord& root = AddDisc("Root", "");
        AddTrackFile(root, m_output / "loose.mp3");
        DiscRecord& other = AddDisc("Other", "Other");
        AddTrackFile(other, m_output / "Other\\01.mp3");
        WriteFile(m_output / "disc.xml", "project");
        bool removed = false;

        ASSERT_TRUE(lastTrack ? m_catalogue.DeleteTrack(m_catalogue.GetCount() - 2, 0, removed)
                              : m_catalogue.DeleteDisc(m_catalogue.GetCount() - 2));

        EXPECT_TRUE(removed || !lastTrack);
        EXPECT_FALSE(FileExists(m_output / "loose.mp3"));
        EXPECT_TRUE(FileExists(m_output / "Other\\01.mp3"));
        EXPECT_TRUE(FileExists(m_output / "disc.xml"));
        EXPECT_TRUE(FolderExists(m_output.Path()));
        EXPECT_EQ(m_catalogue.GetDisc(m_catalogue.GetCount() - 1), &other);
    }
}

TEST_F(DiscCatalogueFiles, RenamingTheOutputFolderDiscOnlyRelabelsIt) {
    DiscRecord& root = AddDisc("Root", "");
    AddTrackFile(root, m_output / "Root loose.wav");
    DiscRecord& other = AddDisc("Other", "Other");
    AddTrackFile(other, m_output / "Other\\01.mp3");

    ASSERT_TRUE(m_catalogue.RenameDisc(0, "Everything"));

    EXPECT_EQ(root.GetLabel(), "Everything");
    EXPECT_TRUE(FolderExists(m_output.Path())) << "the output folder is not the disc's to move";
    EXPECT_TRUE(FileExists(m_output / "Root loose.wav"));
    EXPECT_EQ(root.GetTrackPath(0), m_output / "Root loose.wav");
    EXPECT_TRUE(FileExists(m_output / "Other\\01.mp3"));

    ASSERT_TRUE(m_catalogue.RenameDisc(1, "Others"));
    EXPECT_TRUE(FileExists(m_output / "Others\\01.mp3")) << "a disc of its own folder still moves";
}

TEST_F(DiscCatalogueFiles, SharedFolderGoesOnlyOnceItIsEmpty) {
    DiscRecord& first = AddDisc("First", "Same");
    AddTrackFile(first, m_output / "Same\\01.mp3");
    DiscRecord& second = AddDisc("Second", "Same");
    AddTrackFile(second, m_output / "Same\\02.mp3");

    ASSERT_TRUE(m_catalogue.DeleteDisc(0));
    EXPECT_FALSE(FileExists(m_output / "Same\\01.mp3"));
    EXPECT_TRUE(FileExists(m_output / "Same\\02.mp3"));

    ASSERT_TRUE(m_catalogue.DeleteDisc(0));
    EXPECT_FALSE(FolderExists(m_output / "Same"));
}

} // namespace
