// The options dialog in this process, from the program's own resources, over a settings record of
// the test's own; a stand-in answers its questions and plays the folder browser.
#include "app/Settings.h"
#include "companions/AudioTagCore/WmaCodecInfo.h"
#include "res/ids/OptionsIds.h"
#include "tests/support/TestSupport.h"
#include "tests/ui/manager/WindowTestSupport.h"
#include "ui/options/DlgOptions.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <tuple>
#include <vector>

using namespace qvltest;
using namespace uitest;

namespace {

class CScriptedPrompts final : public IOptionsPrompts {
public:
    struct Question {
        std::string text;
        std::string caption;
        UINT flags;
    };

    int Ask(HWND, const std::string& text, const std::string& caption, UINT flags) override {
        asked.push_back({text, caption, flags});
        int answer = answers.empty() ? IDCANCEL : answers.front();
        if (!answers.empty()) {
            answers.pop_front();
        }
        return answer;
    }
    std::optional<std::string> BrowseForFolder(HWND, const std::string& start) override {
        browsedFrom.push_back(start);
        return browseAnswer;
    }
    void OpenWebPage(HWND, const std::string& address) override { opened.push_back(address); }

    std::deque<int> answers;
    std::vector<Question> asked;
    std::optional<std::string> browseAnswer;
    std::vector<std::string> browsedFrom;
    std::vector<std::string> opened;
};

// Shows the dialog over the settings and does act to it once it is up; the dialog's result.
INT_PTR RunOptions(Settings& settings, IOptionsPrompts& prompts, const std::function<void(HWND)>& act) {
    CDlgOptions options(settings, prompts);
    INT_PTR result = -1;
    EXPECT_TRUE(EndsModal([&] { result = options.Run(GetModuleHandleA(nullptr), nullptr); },
                          [&] { return options.Hwnd(); }, act));
    return result;
}

void Press(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

std::vector<std::string> Items(HWND dialog, int id) {
    HWND combo = GetDlgItem(dialog, id);
    std::vector<std::string> items;
    for (LRESULT i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
        std::string text(static_cast<size_t>(SendMessageA(combo, CB_GETLBTEXTLEN, i, 0)), '\0');
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        items.push_back(text);
    }
    return items;
}

int Selected(HWND dialog, int id) {
    return static_cast<int>(SendMessageA(GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0));
}

// As the user picks an entry: the list changes and tells the dialog.
void Choose(HWND dialog, int id, int position) {
    HWND combo = GetDlgItem(dialog, id);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

std::string ProgramPath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

} // namespace

TEST(OptionsDialog, TheFieldsReachTheSettingsOnOkOnlyAndNewPatternsAreKeptOnce) {
    // Catches a field that OK does not store or stores from the wrong control, a Cancel that
    // stores anything, a filename list without the template's presets or the user's patterns, a
    // browse that does not start at (and create) the field's folder, and a typed pattern that is
    // not kept, or kept again when it is already offered (whatever its case).
    TestFolder root;
    Settings settings;
    settings.outputFolder = root / "before";
    settings.captureFolder = root / "capture";
    settings.filenameFormat = "<Playlist>\\<Title>";
    settings.userDefinedFormats = "Mine\\<Title>\nOurs\\<Number>";
    settings.mp3.SetPreset(4);
    CScriptedPrompts prompts;
    prompts.browseAnswer = root / "picked\\deeper";
    auto change = [&](HWND dialog) {
        Press(dialog, IDC_OPTIONS_ID3V1);
        Press(dialog, IDC_OPTIONS_WAV);
        Press(dialog, IDC_OPTIONS_BROWSE_OUTPUT);
        SetDlgItemTextA(dialog, IDC_OPTIONS_FILENAME_FORMAT, "New\\<Artist>");
        Choose(dialog, IDC_OPTIONS_BITRATE, 14);
    };

    EXPECT_EQ(RunOptions(settings, prompts,
                         [&](HWND dialog) {
                             change(dialog);
                             Press(dialog, IDCANCEL);
                         }),
              IDCANCEL);
    EXPECT_EQ(settings.outputFolder, root / "before");
    EXPECT_EQ(settings.outputFormat, OutputFormat::Mp3);
    EXPECT_EQ(settings.mp3.id3v1, 1);
    EXPECT_EQ(settings.mp3.GetPreset(), 4);
    EXPECT_EQ(settings.filenameFormat, "<Playlist>\\<Title>");
    EXPECT_EQ(settings.userDefinedFormats, "Mine\\<Title>\nOurs\\<Number>");
    ASSERT_EQ(prompts.browsedFrom, std::vector<std::string>{root / "before"});
    EXPECT_TRUE(FolderExists(root / "before")) << "the browser opens at a folder that exists";

    std::vector<std::string> offered;
    EXPECT_EQ(RunOptions(settings, prompts,
                         [&](HWND dialog) {
                             offered = Items(dialog, IDC_OPTIONS_FILENAME_FORMAT);
                             change(dialog);
                             EXPECT_EQ(GetWindowTextLengthA(GetDlgItem(dialog, IDC_OPTIONS_OUTPUT_FOLDER)),
                                       static_cast<int>(prompts.browseAnswer->size()));
                             Press(dialog, IDOK);
                         }),
              IDOK);
    ASSERT_EQ(offered.size(), 15u);
    EXPECT_EQ(offered[0], "<Playlist>\\<Title>");
    EXPECT_EQ(offered[12], "Quaverlane\\<Playlist>\\<Artist>-<Album>-<Number>-<Title>");
    EXPECT_EQ(offered[13], "Mine\\<Title>");
    EXPECT_EQ(offered[14], "Ours\\<Number>");
    EXPECT_EQ(settings.outputFolder, *prompts.browseAnswer);
    EXPECT_TRUE(FolderExists(settings.outputFolder));
    EXPECT_EQ(settings.captureFolder, root / "capture");
    EXPECT_EQ(settings.outputFormat, OutputFormat::Wav);
    EXPECT_EQ(settings.mp3.id3v1, 0);
    EXPECT_EQ(settings.mp3.id3v2, 1);
    EXPECT_EQ(settings.mp3.GetPreset(), 14);
    EXPECT_EQ(settings.filenameFormat, "New\\<Artist>");
    EXPECT_EQ(settings.userDefinedFormats, "Mine\\<Title>\nOurs\\<Number>\nNew\\<Artist>");

    for (const char* typed : {"New\\<Artist>", "new\\<ARTIST>", "<artist>-<album>-<title>"}) {
        RunOptions(settings, prompts, [&](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_OPTIONS_FILENAME_FORMAT, typed);
            Press(dialog, IDOK);
        });
        EXPECT_EQ(settings.filenameFormat, typed);
        EXPECT_EQ(settings.userDefinedFormats, "Mine\\<Title>\nOurs\\<Number>\nNew\\<Artist>") << typed;
    }
}

TEST(OptionsDialog, TheFormatEnablesOnlyItsEncodersSettings) {
    // Catches an encoder section left open for a format that does not use it (WAV has none).
    Settings settings;
    settings.wmaCatalogue.Create();
    ASSERT_TRUE(settings.wmaCatalogue.IsAvailable());
    CScriptedPrompts prompts;
    RunOptions(settings, prompts, [&](HWND dialog) {
        const int mp3Part[] = {IDC_OPTIONS_MP3_GROUP, IDC_OPTIONS_ID3V1, IDC_OPTIONS_ID3V2,
                               IDC_OPTIONS_BITRATE};
        const int wmaPart[] = {IDC_OPTIONS_WMA_GROUP, IDC_OPTIONS_WMA_CODEC, IDC_OPTIONS_WMA_FORMAT};
        for (auto [button, mp3, wma] :
             {std::tuple{IDC_OPTIONS_WAV, false, false}, std::tuple{IDC_OPTIONS_WMA, false, true},
              std::tuple{IDC_OPTIONS_MP3, true, false}}) {
            Press(dialog, button);
            for (int id : mp3Part) {
                EXPECT_EQ(Enabled(dialog, id), mp3) << "control " << id << " after " << button;
            }
            for (int id : wmaPart) {
                EXPECT_EQ(Enabled(dialog, id), wma) << "control " << id << " after " << button;
            }
        }
        Press(dialog, IDCANCEL);
    });
}

TEST(OptionsDialog, TheBitrateListIsThePresetTableAndItsRowBecomesThePreset) {
    // Catches a bitrate list out of the preset table's order or with other texts, a selection that
    // is not the settings' preset, and a chosen row that OK does not make the preset.
    Settings settings;
    settings.mp3.SetPreset(17);
    CScriptedPrompts prompts;
    RunOptions(settings, prompts, [&](HWND dialog) {
        std::vector<std::string> rows = Items(dialog, IDC_OPTIONS_BITRATE);
        ASSERT_EQ(rows.size(), 21u);
        EXPECT_EQ(rows[0], "320 bps-CBR");
        EXPECT_EQ(rows[13], "32 bps-CBR");
        EXPECT_EQ(rows[14], "224-320 bps-VBR");
        EXPECT_EQ(rows[Selected(dialog, IDC_OPTIONS_BITRATE)], "128-192 bps-VBR");
        Choose(dialog, IDC_OPTIONS_BITRATE, 3);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(settings.mp3.GetPreset(), 3);
}

TEST(OptionsDialog, TheWmaListsAreTheLibrarysCatalogueAndTheChoiceGoesBackToIt) {
    // Catches WMA lists that are not the codec manager's catalogue or do not show its choice, a
    // format list that does not follow a change of codec, and a choice that OK does not hand back.
    Settings settings;
    settings.wmaCatalogue.Create();
    ASSERT_TRUE(settings.wmaCatalogue.IsAvailable());
    settings.outputFormat = OutputFormat::Wma;
    settings.wmaCatalogue.SetChoice(0, 1);
    const WmaCodecList* catalogue = settings.wmaCatalogue.Manager()->GetCatalogue();
    ASSERT_NE(catalogue, nullptr);
    ASSERT_GE(catalogue->codecCount, 2);
    auto formatsOf = [&](int codec) {
        std::vector<std::string> texts;
        for (int i = 0; i < catalogue->codecs[codec]->formatCount; ++i) {
            texts.push_back(catalogue->codecs[codec]->formats[i]->description);
        }
        return texts;
    };
    CScriptedPrompts prompts;
    RunOptions(settings, prompts, [&](HWND dialog) {
        std::vector<std::string> codecs = Items(dialog, IDC_OPTIONS_WMA_CODEC);
        ASSERT_EQ(codecs.size(), static_cast<size_t>(catalogue->codecCount));
        for (int i = 0; i < catalogue->codecCount; ++i) {
            EXPECT_EQ(codecs[i], catalogue->codecs[i]->description);
        }
        EXPECT_EQ(Selected(dialog, IDC_OPTIONS_WMA_CODEC), 0);
        EXPECT_EQ(Items(dialog, IDC_OPTIONS_WMA_FORMAT), formatsOf(0));
        EXPECT_EQ(Selected(dialog, IDC_OPTIONS_WMA_FORMAT), 1);
        Choose(dialog, IDC_OPTIONS_WMA_CODEC, 1);
        EXPECT_EQ(Items(dialog, IDC_OPTIONS_WMA_FORMAT), formatsOf(1));
        EXPECT_EQ(Selected(dialog, IDC_OPTIONS_WMA_FORMAT), 0);
        Press(dialog, IDOK);
    });
    int codec = -1;
    int format = -1;
    settings.wmaCatalogue.GetChoice(&codec, &format);
    EXPECT_EQ(codec, 1);
    EXPECT_EQ(format, 0);
    EXPECT_EQ(settings.outputFormat, OutputFormat::Wma);
}

TEST(OptionsDialog, TheStartupBoxWritesAndRemovesTheRunEntryAtOnceAndOnlyOnYes) {
    // Catches a Run entry that the box does not write at once or writes in another form, one that
    // is removed without the user's yes or kept despite it, and a Cancel that takes the entry back
    // or stores the box in the settings.
    RegistryValue runEntry(HKEY_LOCAL_MACHINE, kRunKey, kRunValue, std::nullopt);
    auto entry = [] { return ReadRegistryString(HKEY_LOCAL_MACHINE, kRunKey, kRunValue); };
    const std::string command = ProgramPath() + " /silence";
    Settings settings;
    settings.notRunOnStartup = 1;
    CScriptedPrompts prompts;
    prompts.answers = {IDNO, IDYES};
    EXPECT_EQ(RunOptions(settings, prompts,
                         [&](HWND dialog) {
                             EXPECT_FALSE(Checked(dialog, IDC_OPTIONS_RUN_ON_STARTUP));
                             Press(dialog, IDC_OPTIONS_RUN_ON_STARTUP);
                             EXPECT_EQ(entry(), command) << "ticked";
                             Press(dialog, IDC_OPTIONS_RUN_ON_STARTUP);
                             EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_RUN_ON_STARTUP)) << "no ticks it again";
                             EXPECT_EQ(entry(), command) << "cleared, answered no";
                             Press(dialog, IDC_OPTIONS_RUN_ON_STARTUP);
                             EXPECT_EQ(entry(), std::nullopt) << "cleared, answered yes";
                             Press(dialog, IDC_OPTIONS_RUN_ON_STARTUP);
                             Press(dialog, IDCANCEL);
                         }),
              IDCANCEL);
    EXPECT_EQ(entry(), command) << "Cancel keeps what the box did";
    EXPECT_EQ(settings.notRunOnStartup, 1);
    ASSERT_EQ(prompts.asked.size(), 2u) << "asked only when the box is cleared";
    EXPECT_EQ(prompts.asked[0].text,
              "You are going to disable Quaverlane on startup.  Do you want to continue?");
    EXPECT_EQ(prompts.asked[0].caption, "Question?");
    EXPECT_EQ(prompts.asked[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));

    RunOptions(settings, prompts, [&](HWND dialog) {
        Press(dialog, IDC_OPTIONS_RUN_ON_STARTUP);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(settings.notRunOnStartup, 0) << "OK stores the ticked box";
}

// Its own process (see CMakeLists.txt): the library, once loaded, stays loaded.
TEST(OptionsDialogWithoutWmaLibrary, WmaIsRefusedWithTheDownloadQuestionAndMp3Stays) {
    // Catches a dialog that offers WMA lists without the library, that lets WMA be chosen, or that
    // does not ask the download question, open the page on yes and fall back to MP3.
    FileAway library(BinFolder() + "\\WmaEncodeCore.dll");
    Settings settings;
    settings.wmaCatalogue.Create();
    ASSERT_FALSE(settings.wmaCatalogue.IsAvailable());
    CScriptedPrompts prompts;
    prompts.answers = {IDYES};
    RunOptions(settings, prompts, [&](HWND dialog) {
        EXPECT_TRUE(Items(dialog, IDC_OPTIONS_WMA_CODEC).empty());
        EXPECT_FALSE(Enabled(dialog, IDC_OPTIONS_WMA_CODEC));
        EXPECT_FALSE(Enabled(dialog, IDC_OPTIONS_WMA_FORMAT));
        Press(dialog, IDC_OPTIONS_WMA);
        EXPECT_FALSE(Enabled(dialog, IDC_OPTIONS_WMA));
        EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_MP3));
        EXPECT_FALSE(Checked(dialog, IDC_OPTIONS_WMA));
        EXPECT_TRUE(Enabled(dialog, IDC_OPTIONS_BITRATE));
        Press(dialog, IDOK);
    });
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(
        prompts.asked[0].text,
        "WMA is not supported yet!\n\nYou need to download the latest version of Windows Media Player to "
        "add WMA support.\n\nWould you like to read more information about how to download now? ");
    EXPECT_EQ(prompts.asked[0].flags, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(prompts.opened, std::vector<std::string>{CDlgOptions::kWmaDownloadPage});
    EXPECT_EQ(settings.outputFormat, OutputFormat::Mp3);
}
