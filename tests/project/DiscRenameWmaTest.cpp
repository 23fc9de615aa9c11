#include "project/DiscRecord.h"

#include "capture/CaptureIntake.h"
#include "companions/AudioTagCore/MediaMetaDataEdit.h"
#include "encode/WmaCodecCatalogue.h"
#include "encode/WmaLibrary.h"
#include "tests/project/CatalogueTestSupport.h"
#include "tests/support/PcmFixtures.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace qvltest;

namespace {

std::string TitleOf(const std::string& wma) {
    std::unique_ptr<CMediaMetaDataEdit, void (*)(CMediaMetaDataEdit*)> editor(
        WmaLibrary::CreateWmaMetaDataEditor(), [](CMediaMetaDataEdit* e) { e->Destroy(); });
    if (!editor) {
        return "(no editor)";
    }
    editor->Set_strMusicFileName(wma.c_str());
    return editor->ReadMetaData() == 1 ? editor->m_metaData.title.c_str() : "(unreadable)";
}

} // namespace

// The WMA branch of a rename: the title is rewritten through the WMA library's tag editor.
TEST(DiscRenameWma, RewritesTheTitleThroughTheLibrarysEditor) {
    TestFolder root;
    std::string folder = root / "Mix";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    WriteFile(root / "Track00.wav", WavBytes(TestPcm(44100 * 4)));
    WmaCodecCatalogue wma;
    wma.Create();
    ASSERT_TRUE(wma.IsAvailable());
    CaptureIntake intake;
    intake.SetChoices({root.Path(), "<Number>", OutputFormat::Wma, {}, wma.Manager(), wma.Encoder()});
    lstrcpynA(intake.Table().Records()[1].title, "Mix - Song", kTextFieldSize);
    std::string original = folder + "\\Mix 01.wma";
    bool complete = false;
    ASSERT_EQ(intake.Finisher().EncodeTrack(OutputFormat::Wma, root / "Track00.wav", original, &complete), 1);
    ASSERT_TRUE(complete);
    ASSERT_EQ(TitleOf(original), "Mix - Song");

    auto disc = MakeDisc("Mix", folder);
    disc->AddTrack("Mix - Song", "", "", "", original, "0:01");
    disc->SetLabel("Party");
    std::string moved = root / "Party\\Party 01.wma";
    ASSERT_EQ(disc->GetTrackPath(0), moved);
    EXPECT_EQ(TitleOf(moved), "Party - Song");
    TrackRecord track;
    ASSERT_TRUE(disc->GetTrack(0, track));
    EXPECT_EQ(track.title, "Party - Song");
}
