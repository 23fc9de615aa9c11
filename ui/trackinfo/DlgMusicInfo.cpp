#include "ui/trackinfo/DlgMusicInfo.h"

#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/framework/AppFolders.h"
#include "app/framework/Scoped.h"
#include "companions/AudioTagCore/MediaMetaDataEdit.h"
#include "encode/WmaLibrary.h"
#include "finish/Id3Tag.h"
#include "res/ids/StringIds.h"
#include "res/ids/TrackPanelIds.h"
#include "ui/trackinfo/ArtworkPicture.h"
#include "ui/trackinfo/DropTagging.h"
#include "ui/trackinfo/FileInfoModel.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>

namespace {

using ScopedDrop = ScopedResource<HDROP, NullTraits<HDROP, DragFinish>>;

constexpr UINT kTipArtwork = 1;
constexpr UINT kTipLocation = 2;
constexpr COLORREF kTextColour = RGB(0xF2, 0xF4, 0xF7);
constexpr COLORREF kDimTextColour = RGB(0xB8, 0xC2, 0xCF);
constexpr int kTextLeft = 100;
constexpr int kTextRight = 234;
constexpr int kLineHeight = 16;
// The button in pixels below the texts: the template's units follow the dialog font, which would
// push it out of the place the manager gives the panel.
constexpr RECT kEditButton = {170, 72, 234, 94};

std::string ArtworkFile() {
    return DefaultCaptureFolder() + "\\track_info_artwork.jpg";
}

bool Exists(const std::string& path) {
    return !path.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DrawLine(HDC dc, const std::string& text, int top, COLORREF colour) {
    RECT line = {kTextLeft, top, kTextRight, top + kLineHeight};
    SetTextColor(dc, colour);
    DrawTextA(dc, text.c_str(), -1, &line,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

} // namespace

TrackTags ReadTrackForPanel(const std::string& path, const std::string& artworkFile) {
    TrackTags tags;
    DeleteFileA(artworkFile.c_str());
    switch (FileKindOfPath(path)) {
    case kFileMp3:
        ReadId3Tag(path.c_str(), ID3TT_ID3V2, tags);
        if (tags.title.empty()) {
            // A file with only the old tag still shows what it has; the old tag holds no picture.
            ReadId3Tag(path.c_str(), ID3TT_ID3V1, tags);
        } else if (!tags.artworkPath.empty() &&
                   CopyFileA(tags.artworkPath.c_str(), artworkFile.c_str(), FALSE)) {
            tags.artworkPath = artworkFile;
            return tags;
        }
        tags.artworkPath = "";
        return tags;
    case kFileWma:
        if (ScopedMetaDataEditor editor = WmaLibrary::WmaEditorFor(path.c_str())) {
            editor->ReadMetaData();
            tags = editor->m_metaData;
            tags.artworkPath = editor->ReadArtImage(artworkFile.c_str());
        }
        return tags;
    case kFileOther:
        return tags;
    }
    return tags;
}

void ShowFileInExplorer(HWND owner, const std::string& path) {
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string explorer = std::string(windows) + "\\explorer.exe";
    const std::string parameters = " /e, /select, " + path;
    ShellExecuteA(owner, "open", explorer.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL);
}

CDlgMusicInfo::CDlgMusicInfo(LocationOpener openLocation) : m_openLocation(std::move(openLocation)) {
    OnCommand(IDC_TRACKPANEL_EDIT, [this] { PostMessageA(GetParent(Hwnd()), WM_EDIT_TAGS, 0, 0); });
    OnMessage(WM_PAINT, [this](WPARAM, LPARAM) -> MessageResult {
        Paint();
        return 0;
    });
    // The paint covers every pixel.
    OnMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> MessageResult { return TRUE; });
    OnMessage(WM_LBUTTONDBLCLK, [this](WPARAM, LPARAM lParam) -> MessageResult {
        const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (!m_strPath.empty() && PtInRect(&kPanelLocation, point)) {
            m_openLocation(Hwnd(), m_strPath);
        }
        return {};
    });
    OnMessage(WM_DROPFILES, [this](WPARAM drop, LPARAM) -> MessageResult {
        TagFromDroppedFiles(reinterpret_cast<HDROP>(drop));
        return 0;
    });
    OnMessage(WM_LANGUAGE_CHANGED, [this](WPARAM, LPARAM) -> MessageResult {
        LocaliseDialog(Hwnd(), IDD_TRACK_PANEL);
        SetTips();
        InvalidateRect(Hwnd(), nullptr, FALSE);
        return 0;
    });
}

CDlgMusicInfo::~CDlgMusicInfo() {
    Destroy();
}

bool CDlgMusicInfo::Create(HINSTANCE instance, HWND manager) {
    return CreateChild(instance, IDD_TRACK_PANEL, manager);
}

BOOL CDlgMusicInfo::OnInitDialog() {
    LocaliseDialog(Hwnd(), IDD_TRACK_PANEL);
    LOGFONTA face{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof face, &face);
    face.lfWeight = FW_BOLD;
    m_fontTitle.Reset(CreateFontIndirectA(&face));
    MoveWindow(Item(IDC_TRACKPANEL_EDIT), kEditButton.left, kEditButton.top,
               kEditButton.right - kEditButton.left, kEditButton.bottom - kEditButton.top, FALSE);
    m_tip.Create(Hwnd());
    SetTips();
    DragAcceptFiles(Hwnd(), TRUE);
    ReadTrack();
    return TRUE;
}

void CDlgMusicInfo::SetTips() {
    m_tip.SetArea(kTipArtwork, kPanelArtwork, LoadLangString(IDS_DROP_SOURCE_HINT));
    m_tip.SetArea(kTipLocation, kPanelLocation, Translate("Double click to open file location.  "));
}

void CDlgMusicInfo::SetTrack(const std::string& path, const std::string& title, const std::string& time) {
    m_strPath = path;
    m_strListTitle = title;
    m_strTime = time;
    ReadTrack();
    InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CDlgMusicInfo::ReadTrack() {
    m_tags = m_strPath.empty() ? TrackTags{} : ReadTrackForPanel(m_strPath, ArtworkFile());
    m_strArtwork = Exists(m_tags.artworkPath.c_str()) ? std::string(m_tags.artworkPath.c_str())
                                                      : ProgramFolder() + "\\no_album_art.jpg";
}

void CDlgMusicInfo::Paint() {
    ScopedPaint paint(Hwnd());
    RECT client;
    GetClientRect(Hwnd(), &client);
    // Drawn off screen first: the pictures come from files, and a direct paint would flicker.
    ScopedMemoryDC memory(CreateCompatibleDC(paint.Get()));
    ScopedBitmap canvas(CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
    ScopedSelect selected(memory.Get(), canvas.Get());
    HDC dc = memory.Get();
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawPictureFile(dc, ProgramFolder() + "\\trackInfo_background.bmp", client);
    DrawPictureFile(dc, m_strArtwork, kPanelArtwork);

    SetBkMode(dc, TRANSPARENT);
    {
        ScopedSelect bold(dc, m_fontTitle.Get());
        DrawLine(dc, m_tags.title.empty() ? m_strListTitle : std::string(m_tags.title.c_str()), 8,
                 kTextColour);
    }
    ScopedSelect font(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawLine(dc, m_tags.artist.c_str(), 8 + kLineHeight, kDimTextColour);
    DrawLine(dc, m_tags.album.c_str(), 8 + 2 * kLineHeight, kDimTextColour);
    DrawLine(dc, m_strTime, 8 + 3 * kLineHeight, kDimTextColour);
    if (!m_strPath.empty()) {
        // Only the path gives way when the line is too long: the words around it stay whole.
        RECT location = kPanelLocation;
        SIZE words{};
        const std::string frame = FormatLangString(IDS_WHERE, "");
        GetTextExtentPoint32A(dc, frame.c_str(), static_cast<int>(frame.size()), &words);
        char path[MAX_PATH] = {};
        lstrcpynA(path, m_strPath.c_str(), MAX_PATH);
        PathCompactPathA(dc, path,
                         static_cast<UINT>(std::max(0L, location.right - location.left - words.cx)));
        const std::string where = FormatLangString(IDS_WHERE, path);
        SetTextColor(dc, kDimTextColour);
        // A file name longer than the line itself is cut at its end.
        DrawTextA(dc, where.c_str(), -1, &location,
                  DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    BitBlt(paint.Get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

void CDlgMusicInfo::TagFromDroppedFiles(HDROP drop) {
    ScopedDrop owned(drop);
    if (m_strPath.empty()) {
        return;
    }
    ScopedWaitCursor wait;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    bool tagged = false;
    for (UINT i = 0; i < count; ++i) {
        char source[MAX_PATH] = {};
        if (DragQueryFileA(drop, i, source, MAX_PATH) != 0) {
            tagged = TagTrackFromSource(source, m_strPath, ArtworkFile()) != 0 || tagged;
        }
    }
    if (tagged) {
        ReadTrack();
        InvalidateRect(Hwnd(), nullptr, FALSE);
        PostMessageA(GetParent(Hwnd()), WM_REFRESH_TRACKS, 0, 0);
    }
}
