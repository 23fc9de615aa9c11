#include "project/DiscCatalogue.h"
#include "project/XmlTree.h"

#include "app/framework/AppFolders.h"
#include "app/Settings.h"
#include "tests/project/CatalogueTestSupport.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

const std::string kLongAlbum(259, 'a');
const std::string kLongTitle(259, 'x');

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// The values a save writes and a load reads back, for comparing two loads.
struct LoadedOptions {
    std::string outputFolder;
    std::string captureFolder;
    OutputFormat outputFormat;
    int32_t window[4];
    int32_t notRunOnStartup;
    int32_t languageAuto;
    std::string languageFile;
    std::string filenameFormat;
    std::string userDefinedFormats;
    Mp3Preset preset;

    bool operator==(const LoadedOptions&) const = default;
};

LoadedOptions CurrentOptions() {
    Settings& s = GetSettings();
    return {s.outputFolder,       s.captureFolder,
            s.outputFormat,       {s.windowLeft, s.windowTop, s.windowWidth, s.windowHeight},
            s.notRunOnStartup,    s.languageAuto,
            s.languageFile,       s.filenameFormat,
            s.userDefinedFormats, s.mp3.Current()};
}

std::vector<std::string> Fields(const TrackRecord& track) {
    return {track.title, track.artist, track.album, track.genre, track.path, track.time};
}

void ExpectSameTracks(const DiscRecord& actual, const DiscRecord& expected) {
    ASSERT_EQ(actual.GetTrackCount(), expected.GetTrackCount()) << expected.GetLabel();
    for (size_t i = 0; i < expected.GetTrackCount(); ++i) {
        TrackRecord a;
        TrackRecord e;
        actual.GetTrack(i, a);
        expected.GetTrack(i, e);
        EXPECT_EQ(Fields(a), Fields(e)) << expected.GetLabel() << " track " << i;
    }
}

void ExpectSameCatalogue(DiscCatalogue& actual, DiscCatalogue& expected) {
    ASSERT_EQ(actual.GetCount(), expected.GetCount());
    EXPECT_EQ(actual.GetFirstRun(), expected.GetFirstRun());
    for (size_t d = 0; d < expected.GetCount(); ++d) {
        const DiscRecord& a = *actual.GetDisc(d);
        const DiscRecord& e = *expected.GetDisc(d);
        EXPECT_EQ(a.GetLabel(), e.GetLabel()) << "disc " << d;
        EXPECT_EQ(a.GetFolder(), e.GetFolder()) << "disc " << d;
        ExpectSameTracks(a, e);
    }
}

class ProjectFileTest : public ::testing::Test {
protected:
    void SetUp() override { GetSettings().ResetToDefaults(); }
    // The ID3 flags are defaults of the process start, not of ResetToDefaults.
    void TearDown() override {
        GetSettings().ResetToDefaults();
        GetSettings().mp3.id3v1 = GetSettings().mp3.id3v2 = 1;
    }

    std::string Folder(const std::string& name) {
        std::string folder = m_folder / name;
        CreateDirectoryA(folder.c_str(), nullptr);
        return folder;
    }
    std::string File(const std::string& path) {
        qvltest::WriteFile(path, "audio");
        return path;
    }
    void WriteDocument(const std::string& body) { WriteDocument("", body); }
    void WriteDocument(const std::string& start, const std::string& body) {
        qvltest::WriteFile(m_project, start + "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n" +
                                          ReplaceAll(body, "@FOLDER@", m_folder.Path()));
    }
    // Sets every option that a save writes.
    static void SetAwkwardOptions(const std::string& outputFolder) {
        Settings& s = GetSettings();
        s.outputFormat = OutputFormat::Wav;
        s.windowLeft = -8;
        s.windowTop = -31;
        s.windowWidth = 1024;
        s.windowHeight = 700;
        s.notRunOnStartup = 1;
        s.languageAuto = 0;
        s.languageFile = "lang_fra.ini";
        s.filenameFormat = "<Artist>\\<Album>\\<Number>-<Title>";
        s.userDefinedFormats = "<Title>\n<Artist> - <Title>";
        s.outputFolder = outputFolder;
        s.captureFolder = "C:\\capture";
        s.mp3.id3v1 = 0;
        s.mp3.SetPreset(17);
    }

    qvltest::TestFolder m_folder;
    std::string m_project = m_folder / "disc.xml";
    std::string m_capture = m_folder / "capture";
    // The capture folder always comes from the registry, never from the file.
    qvltest::RegistryValue m_tempFolder{HKEY_LOCAL_MACHINE, kProgramKey, kCaptureFolderValue, m_capture};
};

TEST_F(ProjectFileTest, SavesTheDocumentByteForByteAndLoadsItBack) {
    ASSERT_EQ(GetACP(), 1252u) << "the expected file holds the UTF-8 of Windows-1252 text";
    DiscCatalogue saved;
    saved.SetFirstRun(0);
    std::string live = Folder("R&B 'Live'");
    auto first = qvltest::MakeDisc("R&B 'Live' <2024>", live);
    first->AddTrack("Tom \"The Bomb\" & <Jerry>", "Caf\xE9 \x80 Trio", kLongAlbum, "Rock & Roll",
                    File(live + "\\01 One.mp3"), "3:25");
    first->AddTrack("Line one\nLine two\r\nLine three", "", "", "", File(live + "\\02 Two.wav"), "1:02:03");
    saved.AddDisc(std::move(first));
    std::string second = Folder("Disc#002");
    auto disc = qvltest::MakeDisc("Disc#002", second);
    disc->AddTrack(kLongTitle, "A", "B", "C", File(second + "\\01.mp3"), "0:01");
    disc->AddTrack("Lost", "", "", "", "", "");
    saved.AddDisc(std::move(disc));
    SetAwkwardOptions(m_folder / "Music & Co");
    LoadedOptions savedOptions = CurrentOptions();

    ASSERT_TRUE(saved.SaveProject(m_project));
    std::string expected = ReplaceAll(qvltest::ReadFile(QVL_PROJECT_TEST_DATA "/project-expected.xml"),
                                      "@FOLDER@", m_folder.Path());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(qvltest::ReadFile(m_project), expected);
    EXPECT_FALSE(qvltest::FileExists(m_project + ".saving"));

    GetSettings().ResetToDefaults();
    GetSettings().mp3.id3v1 = 1;
    DiscCatalogue loaded;
    ASSERT_TRUE(loaded.LoadProject(m_project));
    // What comes back: line breaks as CR LF, the track without a path dropped.
    saved.GetDisc(0)->SetTrackTitle(1, "Line one\r\nLine two\r\nLine three");
    saved.GetDisc(1)->RemoveTrack(1);
    ExpectSameCatalogue(loaded, saved);
    LoadedOptions expectedOptions = savedOptions;
    expectedOptions.userDefinedFormats = "<Title>\r\n<Artist> - <Title>";
    expectedOptions.captureFolder = m_capture;
    EXPECT_TRUE(CurrentOptions() == expectedOptions);
    EXPECT_EQ(GetSettings().mp3.id3v1, 1) << "the ID3 flags are written, not read";

    DiscCatalogue empty;
    SetAwkwardOptions(m_folder / "Music & Co");
    ASSERT_TRUE(empty.SaveProject(m_project));
    std::string options = expected.substr(0, expected.find("    <disc_data"));
    EXPECT_EQ(qvltest::ReadFile(m_project),
              ReplaceAll(ReplaceAll(options, "disc_count=\"2\"", "disc_count=\"0\""), "first_run=\"0\"",
                         "first_run=\"1\"") +
                  "</quaverlane_project>\n");
}

TEST_F(ProjectFileTest, OptionsFollowTheSettingsRules) {
    struct Case {
        const char* options;
        OutputFormat format;
        Mp3Preset preset;
    };
    const Mp3Preset row0{0, 320, 320};
    const Mp3Preset row4{0, 160, 160};
    for (const Case& c :
         {Case{"<options/>", OutputFormat::Mp3, row4},
          Case{"<options codec=\"WAV\"><codec_param><mp3 preset=\"21\"/></codec_param></options>",
               OutputFormat::Wav, row0},
          // Kept without the WMA library: the track finish writes MP3 in its place.
          Case{"<options codec=\"wma\"><codec_param><mp3 preset=\"-1\"/></codec_param></options>",
               OutputFormat::Wma, row0},
          Case{"<options codec=\"ogg\"><codec_param><mp3 preset=\"x\"/></codec_param></options>",
               OutputFormat::Mp3, row4}}) {
        GetSettings().ResetToDefaults();
        GetSettings().outputFormat = OutputFormat::Wav;
        WriteDocument(std::string("<quaverlane_project>") + c.options + "</quaverlane_project>");
        DiscCatalogue catalogue;
        ASSERT_TRUE(catalogue.LoadProject(m_project));
        EXPECT_EQ(GetSettings().outputFormat, c.format) << c.options;
        EXPECT_EQ(GetSettings().mp3.Current(), c.preset) << c.options;
    }

    // A relative output folder is put on the system drive; the stored capture folder is ignored.
    WriteDocument("<quaverlane_project><options Window_X=\"12abc\" LanguageAuto=\"\">"
                  "<output_folder path=\"Music\"/><temp_folder path=\"C:\\elsewhere\"/>"
                  "</options></quaverlane_project>");
    GetSettings().ResetToDefaults();
    DiscCatalogue catalogue;
    ASSERT_TRUE(catalogue.LoadProject(m_project));
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_EQ(GetSettings().outputFolder, std::string(system, 3) + "Music");
    EXPECT_EQ(GetSettings().captureFolder, m_capture);
    EXPECT_EQ(GetSettings().windowLeft, 12) << "a leading number is read";
    EXPECT_EQ(GetSettings().languageAuto, 1) << "an empty number keeps the default";
}

// A hand-edited file with every irregularity the loader must get through, written with what a
// parser may read differently: CR LF line ends, comments, instructions and CDATA, references,
// line breaks inside attributes and UTF-8 text behind a byte-order mark. The program's own parser takes it,
// so the indexed reading must answer exactly what the system's DOM answers to a search for each value.
TEST_F(ProjectFileTest, IndexedLoadingFindsWhatTheSearchPerValueFinds) {
    for (const char* folder : {"Gaps", "Order", "NoLabel", "Nested", "Empty"}) {
        Folder(folder);
    }
    for (const char* track : {"Gaps\\a.mp3", "Gaps\\c.mp3", "Gaps\\d.mp3", "Order\\o.mp3", "Order\\dup.mp3",
                              "NoLabel\\x.mp3", "NoLabel\\y.mp3", "NoLabel\\z.mp3", "Nested\\n.mp3"}) {
        File(m_folder / track);
    }
    WriteDocument("\xEF\xBB\xBF", ReplaceAll(R"(<!-- edited by hand --><?editor v2?>
<quaverlane_project disc_count="6" first_run="0">
    <options codec="wav" Window_X="5px" LanguageIniFile='lang_deu.ini'><output_folder path="@FOLDER@"/></options>
    <disc_data id="0" track_count="3" disc_label="Gaps" path="@FOLDER@\Gaps">
        <track_data id="0" title='&#65;' artist="x&#13;&#10;y" album="Al&#9;b&#10;c &amp; &quot;d&quot; &lt;e&gt;" genre="Folk
Rock" time="1:00">@FOLDER@\Gaps\<![CDATA[a]]><!-- the first -->.mp3</track_data>
        <track_data id="2" title="C" artist="Café" album="x > y ]]> z" time="2:00">@FOLDER@\Gaps\c.mp3</track_data>
        <track_data id="3" title="beyond the count">@FOLDER@\Gaps\d.mp3</track_data>
    </disc_data>
    <disc_data id="2" track_count="3" disc_label="" path="@FOLDER@\NoLabel">
        <track_data id="0" title="vanished">@FOLDER@\NoLabel\gone.mp3</track_data>
        <track_data id="1" title="empty path"/>
        <track_data id="01" title="not a decimal id">@FOLDER@\NoLabel\x.mp3</track_data>
        <track_data id="1" title="second with id 1">@FOLDER@\NoLabel\y.mp3</track_data>
        <track_data id="2" title="&#x5A;">@FOLDER@\NoLabel\z.mp3</track_data>
    </disc_data>
    <disc_data id="1" track_count="2" disc_label="Out of order" path="@FOLDER@\Order">
        <track_data id="0" title="O">@FOLDER@\Order\o.mp3</track_data>
    </disc_data>
    <disc_data id="1" track_count="9" disc_label="Duplicate" path="@FOLDER@\Gaps">
        <track_data id="1" title="from the duplicate">@FOLDER@\Order\dup.mp3</track_data>
    </disc_data>
    <extra><quaverlane_project><disc_data id="3" track_count="1" disc_label="Nested" path="@FOLDER@\Nested">
        <track_data id="0" title="N">@FOLDER@\Nested\n.mp3</track_data>
    </disc_data></quaverlane_project></extra>
    <disc_data id="3" track_count="1" disc_label="Later" path="@FOLDER@\Gaps">
        <track_data id="0" title="later">@FOLDER@\Gaps\a.mp3</track_data>
    </disc_data>
    <disc_data id="4" track_count="0" disc_label="No tracks" path="@FOLDER@\Gaps"/>
    <disc_data id="5" track_count="1" disc_label="Folder gone" path="@FOLDER@\Gone">
        <track_data id="0">@FOLDER@\Gaps\a.mp3</track_data>
    </disc_data>
    <disc_data id="05" track_count="1" disc_label="Not a decimal id" path="@FOLDER@\Gaps">
        <track_data id="0">@FOLDER@\Gaps\a.mp3</track_data>
    </disc_data>
    <disc_data track_count="1" disc_label="No id" path="@FOLDER@\Gaps">
        <track_data id="0">@FOLDER@\Gaps\a.mp3</track_data>
    </disc_data>
    <disc_data id="6" track_count="1" disc_label="Beyond the count" path="@FOLDER@\Empty">
        <track_data id="0">@FOLDER@\Gaps\a.mp3</track_data>
    </disc_data>
</quaverlane_project>
)",
                                             "\n", "\r\n"));
    XmlTree own;
    ASSERT_TRUE(own.Parse(qvltest::ReadFile(m_project))) << "the program's own parser reads this document";
    DiscCatalogue indexed;
    ASSERT_TRUE(indexed.LoadProject(m_project, ProjectReading::Indexed));
    LoadedOptions indexedOptions = CurrentOptions();
    GetSettings().ResetToDefaults();
    DiscCatalogue searched;
    ASSERT_TRUE(searched.LoadProject(m_project, ProjectReading::SearchPerValue));
    EXPECT_TRUE(CurrentOptions() == indexedOptions);
    ExpectSameCatalogue(indexed, searched);

    // And what both found, disc by disc.
    ASSERT_EQ(searched.GetCount(), 4u);
    const char* const labels[] = {"Gaps", "Out of order", "NoLabel", "Nested"};
    const std::vector<std::vector<std::string>> titles = {
        {"A", "C"}, {"O", "from the duplicate"}, {"Z"}, {"N"}};
    for (size_t d = 0; d < 4; ++d) {
        DiscRecord& disc = *searched.GetDisc(d);
        EXPECT_EQ(disc.GetLabel(), labels[d]);
        ASSERT_EQ(disc.GetTrackCount(), titles[d].size()) << labels[d];
        for (size_t t = 0; t < titles[d].size(); ++t) {
            TrackRecord track;
            disc.GetTrack(t, track);
            EXPECT_EQ(track.title, titles[d][t]) << labels[d];
        }
    }
    TrackRecord first;
    searched.GetDisc(0)->GetTrack(0, first);
    EXPECT_EQ(Fields(first), (std::vector<std::string>{"A", "x\r\ny", "Al\tb\r\nc & \"d\" <e>", "Folk Rock",
                                                       m_folder / "Gaps\\a.mp3", "1:00"}))
        << "line breaks come back as CR LF; one inside an attribute is a blank";
    EXPECT_EQ(searched.GetFirstRun(), 0);
    EXPECT_EQ(GetSettings().languageFile, "lang_deu.ini");
    EXPECT_EQ(GetSettings().windowLeft, 5) << "a leading number is read";
}

// A document type lets a file of kilobytes expand into gigabytes in the system's parser, which
// kept the program from starting. This one expands to 30 million characters, seconds of work; it
// must be refused before any of it, in whatever encoding and by either way of reading.
TEST_F(ProjectFileTest, AFileWithADocumentTypeIsRefusedAtOnceAndKept) {
    std::string folder = Folder("Disc");
    File(folder + "\\01.mp3");
    std::string uses;
    for (int i = 0; i < 300; ++i) {
        uses += "&e;";
    }
    std::string utf8 = "<?xml version=\"1.0\"?>\n<!DOCTYPE quaverlane_project [<!ENTITY e \"" +
                       std::string(100000, 'x') + "\">]>\n<quaverlane_project disc_count=\"1\">\n" +
                       "<disc_data id=\"0\" track_count=\"1\" disc_label=\"" + uses + "\" path=\"" + folder +
                       "\"><track_data id=\"0\">" + folder + "\\01.mp3</track_data></disc_data>\n" +
                       "</quaverlane_project>\n";
    std::string utf16 = "\xFF\xFE";
    for (char c : utf8) {
        utf16 += c;
        utf16 += '\0';
    }
    for (ProjectReading reading : {ProjectReading::Indexed, ProjectReading::SearchPerValue}) {
        for (const std::string& content : {utf8, utf16}) {
            qvltest::WriteFile(m_project, content);
            DiscCatalogue catalogue;
            DWORD start = GetTickCount();
            ASSERT_TRUE(catalogue.LoadProject(m_project, reading));
            EXPECT_LT(GetTickCount() - start, 2000u);
            EXPECT_EQ(catalogue.GetCount(), 0u);
            std::string kept = m_project + kUnreadableSuffix;
            EXPECT_TRUE(qvltest::ReadFile(kept) == content) << "a copy of the file is kept";
            DeleteFileA(kept.c_str());
        }
    }
}

// The next save writes only what the load took, so a file that is not taken whole is kept beside
// it; what it did not give stays at the defaults.
TEST_F(ProjectFileTest, AFileThatCannotBeTakenWholeGivesDefaultsAndIsKept) {
    Folder("Disc");
    File(m_folder / "Disc\\01.mp3");
    auto project = [](const char* root, const char* discCount, const char* trackCount) {
        return std::string("<") + root + " disc_count=\"" + discCount +
               "\">\n<disc_data id=\"0\" track_count=\"" + trackCount +
               "\" path=\"@FOLDER@\\Disc\"><track_data id=\"0\">@FOLDER@\\Disc\\01.mp3</track_data>" +
               "</disc_data>\n</" + root + ">\n";
    };
    struct Case {
        const char* fault;
        std::optional<std::string> document;
        size_t discs;
        bool kept;
    };
    for (const Case& c :
         {Case{"no file", std::nullopt, 0, false}, Case{"an empty file", "", 0, false},
          Case{"no XML", "\xFF\xFE garbage \x01\x02", 0, true},
          Case{"another root", project("project", "1", "1"), 0, true},
          Case{"a negative disc count", project("quaverlane_project", "-3", "1"), 0, true},
          Case{"a track count that is no number", project("quaverlane_project", "1", "many"), 0, true},
          Case{"nothing: counts may promise more", project("quaverlane_project", "2", "3"), 1, false}}) {
        DeleteFileA(m_project.c_str());
        if (c.document) {
            qvltest::WriteFile(m_project, ReplaceAll(*c.document, "@FOLDER@", m_folder.Path()));
        }
        GetSettings().ResetToDefaults();
        DiscCatalogue catalogue;
        catalogue.AddDisc(qvltest::MakeDisc("Before", m_folder.Path()));
        ASSERT_TRUE(catalogue.LoadProject(m_project)) << c.fault;
        EXPECT_EQ(catalogue.GetCount(), c.discs) << c.fault;
        if (c.discs == 0) {
            EXPECT_EQ(catalogue.GetFirstRun(), 1) << c.fault;
            EXPECT_EQ(GetSettings().outputFolder, DefaultOutputFolder()) << c.fault;
            EXPECT_EQ(GetSettings().captureFolder, m_capture) << c.fault;
        }
        std::string kept = m_project + kUnreadableSuffix;
        EXPECT_EQ(qvltest::FileExists(kept), c.kept) << c.fault;
        if (c.kept) {
            EXPECT_EQ(qvltest::ReadFile(kept), qvltest::ReadFile(m_project)) << c.fault;
        }
        DeleteFileA(kept.c_str());
    }
}

TEST_F(ProjectFileTest, ASaveThatCannotCompleteLeavesTheProjectAsItWas) {
    qvltest::WriteFile(m_project, "the last good project");
    DiscCatalogue catalogue;

    // The file it writes first cannot be created.
    std::string blocker = m_project + ".saving";
    ASSERT_TRUE(CreateDirectoryA(blocker.c_str(), nullptr));
    EXPECT_FALSE(catalogue.SaveProject(m_project));
    EXPECT_EQ(qvltest::ReadFile(m_project), "the last good project");
    RemoveDirectoryA(blocker.c_str());

    // The folder is gone.
    EXPECT_FALSE(catalogue.SaveProject(m_folder / "missing\\disc.xml"));
}

// The child of the test below: it saves the project it was given over and over until killed.
TEST(ProjectFileKill, DISABLED_SavesUntilKilled) {
    char path[MAX_PATH];
    if (GetEnvironmentVariableA("QVL_SAVE_LOOP", path, MAX_PATH) == 0) {
        GTEST_SKIP();
    }
    DiscCatalogue catalogue;
    ASSERT_TRUE(catalogue.LoadProject(path));
    for (;;) {
        catalogue.SaveProject(path);
    }
}

TEST_F(ProjectFileTest, KillingTheProgramDuringASaveNeverLosesTheProject) {
    constexpr size_t kDiscs = 300;
    constexpr size_t kTracks = 15;
    std::string folder = Folder("Music");
    std::string track = File(folder + "\\track.mp3");
    DiscCatalogue saved;
    for (size_t d = 0; d < kDiscs; ++d) {
        auto disc = qvltest::MakeDisc("Disc " + std::to_string(d), folder);
        for (size_t t = 0; t < kTracks; ++t) {
            disc->AddTrack("Title " + std::to_string(t), "Artist", "Album", "Genre", track, "3:00");
        }
        saved.AddDisc(std::move(disc));
    }
    ASSERT_TRUE(saved.SaveProject(m_project));
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    SetEnvironmentVariableA("QVL_SAVE_LOOP", m_project.c_str());
    auto saveTime = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA(m_project.c_str(), GetFileExInfoStandard, &data);
        return data.ftLastWriteTime;
    };
    FILETIME lastSave = saveTime();
    for (DWORD round = 0; round < 8; ++round) {
        {
            qvltest::ChildProcess child(
                self,
                "--gtest_filter=ProjectFileKill.DISABLED_SavesUntilKilled --gtest_also_run_disabled_tests");
            ASSERT_TRUE(child.Started());
            // Killed some way into a save once it has saved at least once.
            ASSERT_TRUE(qvltest::WaitFor(
                [&] {
                    FILETIME now = saveTime();
                    return CompareFileTime(&now, &lastSave) != 0;
                },
                20000));
            lastSave = saveTime();
            Sleep(4 * round);
        }
        DiscCatalogue loaded;
        ASSERT_TRUE(loaded.LoadProject(m_project));
        ExpectSameCatalogue(loaded, saved);
    }
    SetEnvironmentVariableA("QVL_SAVE_LOOP", nullptr);
}

} // namespace
