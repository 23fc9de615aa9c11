#include "tests/companions/WmaLibraries.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qvltest;

namespace {

using Editor = ScopedMetaDataEditor;

class WmaFileTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_libraries.Loaded());
        std::string wav = m_folder / "Track03.wav";
        WriteFile(wav, WavBytes(PcmBytes(SweepPcm(1.0))));
        CAudioEncoder* encoder = m_libraries.NewEncoder();
        ASSERT_NE(encoder, nullptr);
        EncoderWindow window;
        _AUDIO_ENCODE_WORK_PARAM work;
        ASSERT_EQ(RunTrack(*encoder, wav, m_wma, TrackTags{}, window, work), 1);
        encoder->Release();
        WriteFile(m_cover, CoverPicture());
        m_samples = m_libraries.Decode(m_wma).pcm.size();
        ASSERT_GT(m_samples, 0u);
    }

    Editor EditorFor(const std::string& path) {
        Editor editor(m_libraries.NewEditor());
        if (editor != nullptr) {
            editor->Set_strMusicFileName(path.c_str());
        }
        return editor;
    }

    WmaLibraries m_libraries;
    TestFolder m_folder;
    std::string m_wma = m_folder / "track.wma";
    std::string m_cover = m_folder / "cover.jpg";
    size_t m_samples = 0;
};

std::string Ansi(const wchar_t* text) {
    char buffer[256];
    WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
    return buffer;
}

TrackTags EveryField(const std::string& artworkPath) {
    // The same values are in check_wma.py.
    TrackTags tags;
    tags.trackNumber = 7;
    tags.partOfSet = "1/2";
    tags.title = "Test Tone";
    tags.artist = Ansi(L"Zo\u00eb Quaverlane");
    tags.album = "Tag Check";
    tags.year = "2024";
    tags.comment = "A sweep up and a sweep down";
    tags.genre = "Rock";
    tags.composer = "Clara Composer";
    tags.originalArtist = "The Originals";
    tags.copyright = "2024 Quaverlane";
    tags.url = "http://quaverlane.example/track7";
    tags.encodedBy = "Quaverlane 1.0";
    tags.artworkPath = artworkPath;
    tags.publisher = "Quaverlane Records";
    tags.albumArtist = "Various Artists";
    return tags;
}

} // namespace

TEST_F(WmaFileTest, TheEditorWritesEveryFieldAndTheCoverAndReadsThemBack) {
    const TrackTags written = EveryField(m_cover);
    {
        Editor editor = EditorFor(m_wma);
        ASSERT_NE(editor, nullptr);
        editor->m_metaData = written;
        EXPECT_EQ(editor->WriteMetaData(), 1);
    }
    Editor editor = EditorFor(m_wma);
    ASSERT_EQ(editor->ReadMetaData(), 1);
    const TrackTags& read = editor->m_metaData;
    EXPECT_EQ(read.trackNumber, 7);
    for (TagString TrackTags::*field :
         {&TrackTags::partOfSet, &TrackTags::title, &TrackTags::artist, &TrackTags::album, &TrackTags::year,
          &TrackTags::comment, &TrackTags::genre, &TrackTags::composer, &TrackTags::originalArtist,
          &TrackTags::copyright, &TrackTags::url, &TrackTags::encodedBy, &TrackTags::publisher,
          &TrackTags::albumArtist}) {
        EXPECT_EQ(read.*field, written.*field) << (written.*field).c_str();
    }
    std::string saved = m_folder / "id3tag_artwork.jpg";
    EXPECT_EQ(editor->ReadArtImage(saved.c_str()), saved.c_str());
    EXPECT_EQ(ReadFile(saved), CoverPicture());

    // After a rename only the title changes; the audio is untouched by every rewrite.
    editor->m_metaData.title = "Renamed";
    editor->m_metaData.artist = "not written";
    EXPECT_EQ(editor->WriteMetaData(true), 1);
    ASSERT_EQ(editor->ReadMetaData(), 1);
    EXPECT_EQ(editor->m_metaData.title, "Renamed");
    EXPECT_EQ(editor->m_metaData.artist, written.artist);
    EXPECT_EQ(m_libraries.Decode(m_wma).pcm.size(), m_samples);
    ASSERT_NO_FATAL_FAILURE(KeepForTheIndependentCheck(m_wma, "edited.wma"));
}

TEST_F(WmaFileTest, DamagedAndForeignFilesGiveErrorsNeverACrash) {
    const std::string whole = ReadFile(m_wma);
    std::string noise(20000, '\0');
    unsigned seed = 12345;
    for (char& c : noise) {
        seed = seed * 1103515245 + 12345;
        c = static_cast<char>(seed >> 16);
    }
    // An MPEG audio file: a small ID3v2 tag, then silent layer III frames.
    std::string mp3 = std::string("ID3\3\0\0\0\0\0\0", 10);
    for (int i = 0; i < 40; ++i) {
        mp3 += std::string("\xFF\xFB\x90\x64", 4) + std::string(413, '\0');
    }
    struct Case {
        const char* name;
        std::string bytes;
        bool headerWhole;
    };
    const Case cases[] = {
        {"empty.wma", "", false},
        {"header-cut.wma", whole.substr(0, 300), false},
        {"data-cut.wma", whole.substr(0, whole.size() * 3 / 5), true},
        {"noise.wma", noise, false},
        {"song.wma", mp3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = m_folder / c.name;
        WriteFile(path, c.bytes);

        WmaLibraries::Decoded decoded = m_libraries.Decode(path);
        if (c.headerWhole) {
            // What is there plays; the end comes where the file ends.
            EXPECT_EQ(decoded.openResult, kWmaDecodeOk);
            EXPECT_LT(decoded.pcm.size(), m_samples);
        } else {
            EXPECT_LT(decoded.openResult, 0);
        }

        Editor editor = EditorFor(path);
        if (!c.headerWhole) {
            EXPECT_EQ(editor->ReadMetaData(), 0);
            editor->m_metaData = EveryField(m_cover);
            EXPECT_EQ(editor->WriteMetaData(), 0);
            EXPECT_EQ(editor->WriteArtImage(m_cover.c_str()), 0);
            EXPECT_EQ(ReadFile(path), c.bytes) << "a file that is not WMA is never written to";
        }
        EXPECT_TRUE(editor->ReadArtImage((m_folder / "art.jpg").c_str()).empty());
    }
    WmaLibraries::Decoded missing = m_libraries.Decode(m_folder / "missing.wma");
    EXPECT_LT(missing.openResult, 0);
}
