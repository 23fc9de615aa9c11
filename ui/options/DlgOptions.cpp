#include "ui/options/DlgOptions.h"

#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/Settings.h"
#include "app/framework/FolderTree.h"
#include "companions/AudioTagCore/WmaCodecInfo.h"
#include "res/ids/OptionsIds.h"
#include "res/ids/StringIds.h"
#include "ui/options/DlgInitData.h"

#include <algorithm>
#include <vector>

namespace {

constexpr char kWmaMissingQuestion[] =
    "WMA is not supported yet!\n\nYou need to download the latest version of Windows Media Player to add WMA "
    "support.\n\nWould you like to read more information about how to download now? ";
constexpr char kQuestionCaption[] = "Question?";

// The user's own filename patterns, stored one after another with a line feed between them.
std::vector<std::string> SplitUserFormats(const std::string& stored) {
    std::vector<std::string> formats;
    if (stored.empty()) {
        return formats;
    }
    size_t start = 0;
    for (size_t end = stored.find('\n'); end != std::string::npos; end = stored.find('\n', start)) {
        formats.push_back(stored.substr(start, end - start));
        start = end + 1;
    }
    formats.push_back(stored.substr(start));
    return formats;
}

void AddComboString(HWND combo, const std::string& text, LPARAM data = 0) {
    auto item = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (item >= 0 && data != 0) {
        SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(item), data);
    }
}

// The selected position, -1 for none (CB_ERR).
int Selection(HWND combo) {
    return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
}

// Selects the position when the list has it; a position outside leaves the list unselected.
void SelectWithin(HWND combo, int position) {
    if (position >= 0 && position < SendMessageA(combo, CB_GETCOUNT, 0, 0)) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
    }
}

BOOL IsChecked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

} // namespace

CDlgOptions::CDlgOptions(Settings& settings, IOptionsPrompts& prompts)
    : m_settings(settings), m_prompts(prompts) {
    OnCommand(IDOK, [this] { OnOK(); });
    OnCommand(IDCANCEL, [this] { EndModal(IDCANCEL); });
    OnCommandCode(IDC_OPTIONS_WMA_CODEC, CBN_SELCHANGE, [this] { FillWmaFormats(); });
    OnCommand(IDC_OPTIONS_BROWSE_OUTPUT, [this] { Browse(m_strOutputFolder); });
    OnCommand(IDC_OPTIONS_BROWSE_CAPTURE, [this] { Browse(m_strCaptureFolder); });
    auto formatChosen = [this] {
        ReadControls();
        EnableSections();
    };
    OnCommand(IDC_OPTIONS_MP3, formatChosen);
    OnCommand(IDC_OPTIONS_WAV, formatChosen);
    OnCommand(IDC_OPTIONS_WMA, [this] { OnWmaChosen(); });
    OnCommand(IDC_OPTIONS_RUN_ON_STARTUP, [this] { OnRunOnStartupClicked(); });
    OnMessage(WM_LANGUAGE_CHANGED, [this](WPARAM, LPARAM) -> MessageResult {
        LocaliseDialog(Hwnd(), IDD_OPTIONS);
        return 0;
    });
}

INT_PTR CDlgOptions::Run(HINSTANCE instance, HWND owner) {
    return DoModal(instance, IDD_OPTIONS, owner);
}

BOOL CDlgOptions::OnInitDialog() {
    LocaliseDialog(Hwnd(), IDD_OPTIONS);
    m_strOutputFolder = m_settings.outputFolder;
    m_strCaptureFolder = m_settings.captureFolder;
    m_nFormat = m_settings.outputFormat;
    m_bRunOnStartup = m_settings.notRunOnStartup == 0;
    m_bId3v1 = m_settings.mp3.id3v1 != 0;
    m_bId3v2 = m_settings.mp3.id3v2 != 0;
    FillBitrateList();
    FillWmaLists();
    m_strFilenameFormat = m_settings.filenameFormat;
    FillFilenameList();
    WriteControls();
    EnableSections();
    return TRUE;
}

// The presets of the template first, then the user's own patterns, oldest first.
void CDlgOptions::FillFilenameList() {
    HWND combo = Item(IDC_OPTIONS_FILENAME_FORMAT);
    // The template's own module holds its initialisation data.
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(Hwnd(), GWLP_HINSTANCE));
    for (const std::string& preset :
         DlgInitComboStrings(instance, IDD_OPTIONS, IDC_OPTIONS_FILENAME_FORMAT)) {
        AddComboString(combo, preset);
    }
    for (const std::string& format : SplitUserFormats(m_settings.userDefinedFormats)) {
        AddComboString(combo, format);
    }
}

void CDlgOptions::FillBitrateList() {
    HWND combo = Item(IDC_OPTIONS_BITRATE);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (int row = 0; row < Mp3EncoderParams::kPresetCount; ++row) {
        AddComboString(combo, Mp3EncoderSettings::DescribePreset(row));
    }
    SelectWithin(combo, m_settings.mp3.GetPreset());
}

// Each item carries its record, so that a change of codec finds its formats without the manager.
void CDlgOptions::FillWmaLists() {
    HWND codecs = Item(IDC_OPTIONS_WMA_CODEC);
    HWND formats = Item(IDC_OPTIONS_WMA_FORMAT);
    SendMessageA(codecs, CB_RESETCONTENT, 0, 0);
    SendMessageA(formats, CB_RESETCONTENT, 0, 0);
    IWMACodecInfoManager* manager = m_settings.wmaCatalogue.Manager();
    if (manager == nullptr) {
        EnableWindow(codecs, FALSE);
        EnableWindow(formats, FALSE);
        return;
    }
    int codecIndex = -1;
    int formatIndex = -1;
    m_settings.wmaCatalogue.GetChoice(&codecIndex, &formatIndex);
    const WmaCodecList* list = manager->GetCatalogue();
    const int codecCount = list != nullptr ? list->codecCount : 0;
    for (int i = 0; i < codecCount; ++i) {
        AddComboString(codecs, list->codecs[i]->description, reinterpret_cast<LPARAM>(list->codecs[i]));
    }
    if (codecIndex >= 0 && codecIndex < codecCount) {
        const WmaCodecRecord* codec = list->codecs[codecIndex];
        for (int i = 0; i < codec->formatCount; ++i) {
            AddComboString(formats, codec->formats[i]->description,
                           reinterpret_cast<LPARAM>(codec->formats[i]));
        }
    }
    SelectWithin(codecs, codecIndex);
    SelectWithin(formats, formatIndex);
}

void CDlgOptions::FillWmaFormats() {
    HWND codecs = Item(IDC_OPTIONS_WMA_CODEC);
    HWND formats = Item(IDC_OPTIONS_WMA_FORMAT);
    SendMessageA(formats, CB_RESETCONTENT, 0, 0);
    int position = Selection(codecs);
    if (position < 0) {
        return;
    }
    const auto* codec = reinterpret_cast<const WmaCodecRecord*>(
        SendMessageA(codecs, CB_GETITEMDATA, static_cast<WPARAM>(position), 0));
    for (int i = 0; i < codec->formatCount; ++i) {
        AddComboString(formats, codec->formats[i]->description, reinterpret_cast<LPARAM>(codec->formats[i]));
    }
    SelectWithin(formats, 0);
}

void CDlgOptions::ReadControls() {
    HWND dialog = Hwnd();
    m_bId3v1 = IsChecked(dialog, IDC_OPTIONS_ID3V1);
    m_bId3v2 = IsChecked(dialog, IDC_OPTIONS_ID3V2);
    m_nFormat = IsChecked(dialog, IDC_OPTIONS_WMA)   ? OutputFormat::Wma
                : IsChecked(dialog, IDC_OPTIONS_WAV) ? OutputFormat::Wav
                                                     : OutputFormat::Mp3;
    m_strOutputFolder = WindowText(Item(IDC_OPTIONS_OUTPUT_FOLDER));
    m_strCaptureFolder = WindowText(Item(IDC_OPTIONS_CAPTURE_FOLDER));
    m_bRunOnStartup = IsChecked(dialog, IDC_OPTIONS_RUN_ON_STARTUP);
    m_strFilenameFormat = WindowText(Item(IDC_OPTIONS_FILENAME_FORMAT));
}

// The radio buttons stand in the order of the formats' values.
static_assert(IDC_OPTIONS_WMA == IDC_OPTIONS_MP3 + static_cast<int>(OutputFormat::Wma) &&
              IDC_OPTIONS_WAV == IDC_OPTIONS_MP3 + static_cast<int>(OutputFormat::Wav));

void CDlgOptions::WriteControls() {
    HWND dialog = Hwnd();
    CheckDlgButton(dialog, IDC_OPTIONS_ID3V1, m_bId3v1 ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_OPTIONS_ID3V2, m_bId3v2 ? BST_CHECKED : BST_UNCHECKED);
    CheckRadioButton(dialog, IDC_OPTIONS_MP3, IDC_OPTIONS_WAV, IDC_OPTIONS_MP3 + static_cast<int>(m_nFormat));
    SetDlgItemTextA(dialog, IDC_OPTIONS_OUTPUT_FOLDER, m_strOutputFolder.c_str());
    SetDlgItemTextA(dialog, IDC_OPTIONS_CAPTURE_FOLDER, m_strCaptureFolder.c_str());
    CheckDlgButton(dialog, IDC_OPTIONS_RUN_ON_STARTUP, m_bRunOnStartup ? BST_CHECKED : BST_UNCHECKED);
    SetDlgItemTextA(dialog, IDC_OPTIONS_FILENAME_FORMAT, m_strFilenameFormat.c_str());
}

// Only the encoder of the chosen format can be set up; WAV has none. The labels follow their lists.
void CDlgOptions::EnableSections() {
    const bool mp3 = m_nFormat == OutputFormat::Mp3;
    const bool wma = m_nFormat == OutputFormat::Wma && m_settings.wmaCatalogue.IsAvailable();
    for (int id : {IDC_OPTIONS_MP3_GROUP, IDC_OPTIONS_ID3V1, IDC_OPTIONS_ID3V2, IDC_OPTIONS_BITRATE_LABEL,
                   IDC_OPTIONS_BITRATE}) {
        EnableWindow(Item(id), mp3);
    }
    for (int id : {IDC_OPTIONS_WMA_GROUP, IDC_OPTIONS_CODEC_LABEL, IDC_OPTIONS_WMA_CODEC,
                   IDC_OPTIONS_WMA_FORMAT_LABEL, IDC_OPTIONS_WMA_FORMAT}) {
        EnableWindow(Item(id), wma);
    }
}

void CDlgOptions::Browse(std::string& folder) {
    CreateFolderTree(folder);
    std::optional<std::string> chosen = m_prompts.BrowseForFolder(Hwnd(), folder);
    if (!chosen) {
        return;
    }
    ReadControls();
    folder = *chosen;
    WriteControls();
}

void CDlgOptions::OnWmaChosen() {
    if (m_settings.wmaCatalogue.IsAvailable()) {
        ReadControls();
        EnableSections();
        return;
    }
    EnableWindow(Item(IDC_OPTIONS_WMA), FALSE);
    if (m_prompts.Ask(Hwnd(), Translate(kWmaMissingQuestion), LoadLangString(IDS_APP_NAME), MB_YESNO) ==
        IDYES) {
        m_prompts.OpenWebPage(Hwnd(), kWmaDownloadPage);
    }
    ReadControls();
    m_nFormat = OutputFormat::Mp3;
    WriteControls();
    EnableSections();
}

// The Run entry changes at once: the user was asked, and Cancel does not take it back.
void CDlgOptions::OnRunOnStartupClicked() {
    ReadControls();
    if (!m_bRunOnStartup && m_prompts.Ask(Hwnd(), LoadLangString(IDS_CONFIRM_NO_STARTUP),
                                          Translate(kQuestionCaption), MB_YESNO | MB_ICONQUESTION) == IDNO) {
        m_bRunOnStartup = TRUE;
        CheckDlgButton(Hwnd(), IDC_OPTIONS_RUN_ON_STARTUP, BST_CHECKED);
        return;
    }
    SetRunOnStartup(m_bRunOnStartup != FALSE);
}

void CDlgOptions::OnOK() {
    ReadControls();
    m_settings.outputFolder = m_strOutputFolder;
    m_settings.captureFolder = m_strCaptureFolder;
    const bool wmaAvailable = m_settings.wmaCatalogue.IsAvailable();
    m_settings.outputFormat = m_nFormat == OutputFormat::Wma && !wmaAvailable ? OutputFormat::Mp3 : m_nFormat;
    m_settings.notRunOnStartup = m_bRunOnStartup ? 0 : 1;
    m_settings.mp3.id3v1 = m_bId3v1;
    m_settings.mp3.id3v2 = m_bId3v2;
    const int bitrate = Selection(Item(IDC_OPTIONS_BITRATE));
    if (bitrate >= 0) {
        m_settings.mp3.SetPreset(bitrate);
    }
    if (wmaAvailable) {
        m_settings.wmaCatalogue.SetChoice(Selection(Item(IDC_OPTIONS_WMA_CODEC)),
                                          Selection(Item(IDC_OPTIONS_WMA_FORMAT)));
    }
    CreateFolderTree(m_settings.outputFolder);
    CreateFolderTree(m_settings.captureFolder);

    m_settings.filenameFormat = m_strFilenameFormat;
    // Every new pattern the user types is offered again next time; presets and patterns already
    // kept are not added twice.
    const bool listed =
        SendMessageA(Item(IDC_OPTIONS_FILENAME_FORMAT), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(m_strFilenameFormat.c_str())) != CB_ERR;
    const std::vector<std::string> kept = SplitUserFormats(m_settings.userDefinedFormats);
    if (!m_strFilenameFormat.empty() && !listed &&
        std::find(kept.begin(), kept.end(), m_strFilenameFormat) == kept.end()) {
        if (!m_settings.userDefinedFormats.empty()) {
            m_settings.userDefinedFormats += '\n';
        }
        m_settings.userDefinedFormats += m_strFilenameFormat;
    }
    EndModal(IDOK);
}
