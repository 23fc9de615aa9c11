#include "ui/trackinfo/DlgFileInfo.h"

#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/framework/AppFolders.h"
#include "app/framework/GdiScoped.h"
#include "companions/AudioTagCore/MediaMetaDataEdit.h"
#include "encode/WmaLibrary.h"
#include "finish/Id3Tag.h"
#include "res/ids/FileInfoIds.h"
#include "res/ids/StringIds.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

std::string Formatted(const char* format, int value) {
    char text[64];
    snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

CDlgFileInfo::CDlgFileInfo(ITrackSteps& steps)
    : m_steps(steps), m_pageSummary(m_info), m_pageID3v1(m_tagV1, m_bIncludeV1,
                                                         [this] {
                                                             m_pageID3v2.Store();
                                                             CopyCommonFields(m_tagV1, m_tagV2);
                                                             m_pageID3v2.Fill();
                                                         }),
      m_pageID3v2(m_tagV2, m_bIncludeV2,
                  [this] {
                      m_pageID3v1.Store();
                      CopyCommonFields(m_tagV2, m_tagV1);
                      m_pageID3v1.Fill();
                  }),
      m_pageWMAInfo(m_tagV1) {
    OnNotify(IDC_FILEINFO_TAB, TCN_SELCHANGE, [this](NMHDR&) -> LRESULT {
        ShowPage(static_cast<int>(SendMessageA(m_tab, TCM_GETCURSEL, 0, 0)));
        return 0;
    });
    OnCommand(IDOK, [this] {
        WriteTags();
        EndModal(IDOK);
    });
    OnCommand(IDCANCEL, [this] { EndModal(IDCANCEL); });
    OnCommand(IDC_FILEINFO_NEXT, [this] { Step(+1); });
    OnCommand(IDC_FILEINFO_PREVIOUS, [this] { Step(-1); });
    OnMessage(WM_LANGUAGE_CHANGED, [this](WPARAM, LPARAM) -> MessageResult {
        LocaliseDialog(Hwnd(), IDD_FILEINFO);
        SetDlgItemTextA(Hwnd(), IDC_FILEINFO_PATH, m_strPath.c_str());
        AddTabs();
        BroadcastLanguageChanged(Hwnd());
        return 0;
    });
}

CDlgFileInfo::~CDlgFileInfo() = default;

void CDlgFileInfo::SetFile(const std::string& path) {
    m_strPath = path;
    m_nKind = FileKindOfPath(path);
    ClearTrackTags(m_tagV1);
    ClearTrackTags(m_tagV2);
    std::string artwork;
    Mp3_Headerinfo header{};
    bool hasHeader = false;
    if (m_nKind == kFileMp3) {
        m_bIncludeV1 = HasId3Tag(path, ID3TT_ID3V1);
        m_bIncludeV2 = HasId3Tag(path, ID3TT_ID3V2);
        ReadId3Tag(path.c_str(), ID3TT_ID3V1, m_tagV1, &header);
        ReadId3Tag(path.c_str(), ID3TT_ID3V2, m_tagV2, &header);
        hasHeader = header.frequency != 0;
        artwork = m_tagV2.artworkPath.c_str();
    } else if (m_nKind == kFileWma) {
        // Without the WMA library WMA tags can be neither read nor written.
        if (ScopedMetaDataEditor editor = WmaLibrary::WmaEditorFor(path.c_str())) {
            editor->ReadMetaData();
            m_tagV1 = editor->m_metaData;
            artwork = editor->ReadArtImage((DefaultCaptureFolder() + "\\id3tag_artwork.jpg").c_str()).c_str();
            m_tagV1.artworkPath = artwork;
        }
    }
    ReadSummary(hasHeader ? &header : nullptr, artwork);
}

void CDlgFileInfo::ReadSummary(const Mp3_Headerinfo* header, const std::string& artworkPath) {
    m_info = SummaryTexts{};
    const TrackTags& shown = m_nKind == kFileMp3 && !m_tagV2.title.empty() ? m_tagV2 : m_tagV1;
    m_info.title = shown.title.c_str();
    m_info.artist = shown.artist.c_str();
    m_info.album = shown.album.c_str();
    m_info.artworkPath = artworkPath;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (GetFileAttributesExA(m_strPath.c_str(), GetFileExInfoStandard, &attributes)) {
        m_info.size =
            SizeText((static_cast<uint64_t>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow);
        m_info.date = DateText(attributes.ftLastWriteTime);
    }
    AudioSummary audio;
    if (header != nullptr) {
        audio = SummaryOfMp3Header(*header);
    } else if (!ReadAudioSummary(m_strPath.c_str(), audio)) {
        return;
    }
    m_info.bitrate = BitrateText(audio);
    m_info.sampleRate = Formatted("%d Hz", audio.sampleRate);
    m_info.channels = LoadLangString(audio.stereo ? IDS_STEREO : IDS_MONO);
}

INT_PTR CDlgFileInfo::DoModal(HINSTANCE instance, HWND parent) {
    m_nResult = -1;
    return CDialogBase::DoModal(instance, IDD_FILEINFO, parent);
}

BOOL CDlgFileInfo::OnInitDialog() {
    LocaliseDialog(Hwnd(), IDD_FILEINFO);
    m_tab = Item(IDC_FILEINFO_TAB);
    SetDlgItemTextA(Hwnd(), IDC_FILEINFO_PATH, m_strPath.c_str());
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(Hwnd(), GWLP_HINSTANCE));
    for (CFileInfoPage* page :
         {static_cast<CFileInfoPage*>(&m_pageSummary), static_cast<CFileInfoPage*>(&m_pageID3v1),
          static_cast<CFileInfoPage*>(&m_pageID3v2), static_cast<CFileInfoPage*>(&m_pageWMAInfo)}) {
        page->Create(instance, *this);
    }
    AddTabs();
    FillPages();
    ShowPage(0);
    EnableSteps();
    // Not the path box, which would start with its whole text selected.
    SetFocus(m_tab);
    return FALSE;
}

void CDlgFileInfo::AddTabs() {
    const int selected = std::max(0, static_cast<int>(SendMessageA(m_tab, TCM_GETCURSEL, 0, 0)));
    SendMessageA(m_tab, TCM_DELETEALLITEMS, 0, 0);
    std::vector<std::string> captions = {"Summary"};
    if (m_nKind == kFileMp3) {
        captions.insert(captions.end(), {"ID3V1", "ID3V2"});
    } else if (m_nKind == kFileWma) {
        captions.push_back("WMA Info");
    }
    for (size_t i = 0; i < captions.size(); ++i) {
        std::string caption = Translate(captions[i]);
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageA(m_tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(m_tab, TCM_SETCURSEL, selected < static_cast<int>(captions.size()) ? selected : 0, 0);
}

CFileInfoPage* CDlgFileInfo::PageOfTab(int tab) {
    switch (tab) {
    case 0:
        return &m_pageSummary;
    case 1:
        return m_nKind == kFileMp3   ? static_cast<CFileInfoPage*>(&m_pageID3v1)
               : m_nKind == kFileWma ? static_cast<CFileInfoPage*>(&m_pageWMAInfo)
                                     : nullptr;
    case 2:
        return m_nKind == kFileMp3 ? &m_pageID3v2 : nullptr;
    default:
        return nullptr;
    }
}

void CDlgFileInfo::ShowPage(int tab) {
    CFileInfoPage* shown = PageOfTab(tab);
    for (CFileInfoPage* page :
         {static_cast<CFileInfoPage*>(&m_pageSummary), static_cast<CFileInfoPage*>(&m_pageID3v1),
          static_cast<CFileInfoPage*>(&m_pageID3v2), static_cast<CFileInfoPage*>(&m_pageWMAInfo)}) {
        ShowWindow(page->Hwnd(), page == shown ? SW_SHOW : SW_HIDE);
    }
}

void CDlgFileInfo::FillPages() {
    m_pageSummary.Fill();
    m_pageID3v1.Fill();
    m_pageID3v2.Fill();
    m_pageWMAInfo.Fill();
}

void CDlgFileInfo::Step(int step) {
    ScopedWaitCursor wait;
    const std::string neighbour = m_steps.Neighbour(m_strPath, step);
    if (!neighbour.empty()) {
        SetFile(neighbour);
        SetDlgItemTextA(Hwnd(), IDC_FILEINFO_PATH, m_strPath.c_str());
        AddTabs();
        FillPages();
        ShowPage(static_cast<int>(SendMessageA(m_tab, TCM_GETCURSEL, 0, 0)));
    }
    EnableSteps();
}

void CDlgFileInfo::EnableSteps() {
    // A button about to be disabled may hold the focus, which would then be nowhere.
    HWND focus = GetFocus();
    const bool previous = !m_steps.Neighbour(m_strPath, -1).empty();
    const bool next = !m_steps.Neighbour(m_strPath, +1).empty();
    EnableWindow(Item(IDC_FILEINFO_PREVIOUS), previous ? TRUE : FALSE);
    EnableWindow(Item(IDC_FILEINFO_NEXT), next ? TRUE : FALSE);
    if (focus != nullptr && !IsWindowEnabled(focus)) {
        SendMessageA(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDOK)), TRUE);
    }
}

void CDlgFileInfo::WriteTags() {
    ScopedWaitCursor wait;
    const char* path = m_strPath.c_str();
    const TrackTags* confirmed = nullptr;
    if (m_nKind == kFileMp3) {
        if (m_bIncludeV1) {
            m_pageID3v1.Store();
            WriteId3Tag(path, ID3TT_ID3V1, m_tagV1);
        } else {
            RemoveId3Tag(path, ID3TT_ID3V1);
        }
        if (m_bIncludeV2) {
            m_pageID3v2.Store();
            WriteId3Tag(path, ID3TT_ID3V2, m_tagV2);
        } else {
            RemoveId3Tag(path, ID3TT_ID3V2);
        }
        confirmed = m_bIncludeV2 || !m_bIncludeV1 ? &m_tagV2 : &m_tagV1;
    } else if (m_nKind == kFileWma) {
        m_pageWMAInfo.Store();
        if (ScopedMetaDataEditor editor = WmaLibrary::WmaEditorFor(path)) {
            editor->m_metaData = m_tagV1;
            editor->WriteMetaData();
        }
        confirmed = &m_tagV1;
    }
    m_nResult = m_nKind;
    if (confirmed != nullptr) {
        m_edited = {confirmed->title.c_str(), confirmed->artist.c_str(), confirmed->album.c_str(),
                    GenreName(confirmed->genre.c_str())};
    }
}
