#include "ui/manager/DlgManager.h"

#include "app/LinkLibrary.h"
#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/Settings.h"
#include "app/framework/AppFolders.h"
#include "app/framework/FolderTree.h"
#include "app/framework/MessagePump.h"
#include "app/framework/PostedPayload.h"
#include "app/framework/WinApp.h"
#include "capture/CaptureIntake.h"
#include "capture/RecorderScan.h"
#include "companions/AudioTagCore/EncodeFinishResult.h"
#include "player/PlayQueue.h"
#include "project/DiscCatalogue.h"
#include "res/ids/AppIds.h"
#include "res/ids/ArtIds.h"
#include "res/ids/ManagerIds.h"
#include "res/ids/StringIds.h"
#include "res/ids/TrayIds.h"
#include "ui/controls/Skin.h"
#include "ui/manager/DlgAbout.h"
#include "ui/manager/DlgQuickGuide.h"
#include "ui/manager/ManagerLayout.h"
#include "ui/options/DlgOptions.h"
#include "ui/sync/DlgSync.h"
#include "ui/trackinfo/DlgFileInfo.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

constexpr COLORREF kEditorText = 0xE8E8E8;
constexpr COLORREF kEditorGround = 0xC8C8C8;
constexpr COLORREF kRecorderShadow = 0x600000;
// The skin's header band, logo and bottom strip keep their size; the body stretches.
constexpr SkinMargins kSkinFrame = {100, 93, 20, 42};
constexpr int kHeaderBand = 92;
constexpr UINT kTips[3] = {IDS_TIP_SET_RECORDER, IDS_TIP_USE_CDTEXT, IDS_TIP_MAX_SPEED};

// The font at tenths of a point, as the screen measures them.
HFONT CreatePointFont(int tenths, const char* face) {
    LOGFONTA font{};
    HDC screen = GetDC(nullptr);
    font.lfHeight = -MulDiv(tenths, GetDeviceCaps(screen, LOGPIXELSY), 720);
    ReleaseDC(nullptr, screen);
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

std::string ProjectFile() {
    return DataFolder() + "\\disc.xml";
}

} // namespace

CDlgManager::CDlgManager(IManagerHost& host)
    : m_host(host), m_pWatcher(std::make_unique<CaptureFolderWatcher>()),
      m_dlgStatus(GetCaptureIntake().Queue()),
      m_dlgGuide([this] { CDlgQuickGuide().Run(CWinAppBase::Get()->Instance(), Hwnd()); }),
      m_languageMenu(ProgramFolder()), m_player(m_lists) {
    RegisterMessages();
    RegisterCommands();
}

CDlgManager::~CDlgManager() {
    StopCapture();
    Destroy();
}

void CDlgManager::RegisterMessages() {
    OnMessage(WM_SYSCOMMAND, [this](WPARAM command, LPARAM) -> MessageResult {
        if ((command & 0xFFF0) == IDM_ABOUTBOX) {
            CDlgAbout().Run(CWinAppBase::Get()->Instance(), Hwnd());
            return 0;
        }
        if ((command & 0xFFF0) == SC_CLOSE) {
            HideToTray();
            return 0;
        }
        return {};
    });
    OnMessage(WM_PAINT, [this](WPARAM, LPARAM) -> MessageResult {
        Paint();
        return 0;
    });
    // The skin covers the whole client area: erasing first would only flicker.
    OnMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> MessageResult { return TRUE; });
    OnMessage(WM_QUERYDRAGICON,
              [this](WPARAM, LPARAM) -> MessageResult { return reinterpret_cast<LRESULT>(m_hIcon); });
    OnMessage(WM_INITMENUPOPUP, [this](WPARAM menu, LPARAM) -> MessageResult {
        OnInitMenuPopup(reinterpret_cast<HMENU>(menu));
        return 0;
    });
    OnMessage(WM_DESTROY, [this](WPARAM, LPARAM) -> MessageResult {
        m_dlgStatus.Destroy();
        return {};
    });
    OnMessage(WM_TIMER, [this](WPARAM timer, LPARAM) -> MessageResult {
        if (timer == kBurnEndTimer) {
            OnBurnEndTimer();
        } else if (timer == kPlayTimeTimer) {
            m_player.OnPlayTimeTimer();
        }
        return 0;
    });
    OnMessage(WM_CONTEXTMENU, [this](WPARAM over, LPARAM point) -> MessageResult {
        OnContextMenu(reinterpret_cast<HWND>(over), {GET_X_LPARAM(point), GET_Y_LPARAM(point)});
        return 0;
    });
    OnMessage(WM_QUERYENDSESSION, [this](WPARAM, LPARAM) -> MessageResult {
        // The session may end at any moment after this answer: keep what the user has.
        StorePlacement();
        SaveProject();
        return TRUE;
    });
    OnMessage(WM_ENDSESSION, [this](WPARAM ending, LPARAM) -> MessageResult {
        if (ending != 0) {
            StopCapture();
            CWinAppBase::Get()->EndSessionNow();
        }
        return 0;
    });
    OnMessage(WM_SETCURSOR, [this](WPARAM over, LPARAM hit) -> MessageResult {
        if (reinterpret_cast<HWND>(over) != Hwnd() || LOWORD(hit) != HTCLIENT) {
            return {};
        }
        POINT cursor;
        GetCursorPos(&cursor);
        ScreenToClient(Hwnd(), &cursor);
        const LRESULT edge = SizingEdgeAt(MAKELPARAM(cursor.x, cursor.y));
        const LPCSTR shape = edge == HTBOTTOMRIGHT ? IDC_SIZENWSE
                             : edge == HTRIGHT     ? IDC_SIZEWE
                             : edge == HTBOTTOM    ? IDC_SIZENS
                                                   : IDC_ARROW;
        SetCursor(LoadCursorA(nullptr, shape));
        return TRUE;
    });
    OnMessage(WM_LBUTTONDOWN, [this](WPARAM, LPARAM point) -> MessageResult {
        LRESULT edge = SizingEdgeAt(point);
        // The window has no frame: its edges size it and its header band moves it, as a frame would.
        if (edge == HTCLIENT && GET_Y_LPARAM(point) < kHeaderBand) {
            edge = HTCAPTION;
        }
        if (edge != HTCLIENT) {
            POINT screen = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
            ClientToScreen(Hwnd(), &screen);
            ReleaseCapture();
            SendMessageA(Hwnd(), WM_NCLBUTTONDOWN, edge, MAKELPARAM(screen.x, screen.y));
        }
        return 0;
    });
    OnMessage(WM_SIZING, [](WPARAM edge, LPARAM window) -> MessageResult {
        KeepManagerMinimum(edge, *reinterpret_cast<RECT*>(window));
        return TRUE;
    });
    OnMessage(WM_SIZE, [this](WPARAM kind, LPARAM size) -> MessageResult {
        if (kind != SIZE_MINIMIZED && LOWORD(size) >= kManagerMinWidth && HIWORD(size) >= kManagerMinHeight) {
            PlaceChildren(LOWORD(size), HIWORD(size));
        }
        return 0;
    });
    OnMessage(WM_CTLCOLOREDIT, [this](WPARAM dc, LPARAM control) -> MessageResult {
        if (GetDlgCtrlID(reinterpret_cast<HWND>(control)) != CEditListBox::kEditorId) {
            return {};
        }
        SetBkMode(reinterpret_cast<HDC>(dc), OPAQUE);
        SetBkColor(reinterpret_cast<HDC>(dc), kEditorText);
        return reinterpret_cast<LRESULT>(m_brBackground.Get());
    });
    OnMessage(WM_CTLCOLORSTATIC, [this](WPARAM dc, LPARAM control) -> MessageResult {
        if (reinterpret_cast<HWND>(control) != m_stcTips) {
            return {};
        }
        // The tip stands on the skin's body, in its text colour.
        SetBkMode(reinterpret_cast<HDC>(dc), TRANSPARENT);
        SetTextColor(reinterpret_cast<HDC>(dc), GetSkin().Colour(SkinColour::Text));
        return reinterpret_cast<LRESULT>(GetSkin().Brush(SkinColour::Body));
    });
    OnMessage(WM_CAPTURE_EVENT, [this](WPARAM action, LPARAM path) -> MessageResult {
        OnCaptureEvent(action, reinterpret_cast<char*>(path));
        return 0;
    });
    OnMessage(WM_PANEL_ACTION, [this](WPARAM region, LPARAM) -> MessageResult {
        OnPanelAction(region);
        return 0;
    });
    OnMessage(WM_TRACK_ENCODED, [this](WPARAM, LPARAM result) -> MessageResult {
        OnTrackEncoded(result);
        return 0;
    });
    OnMessage(WM_HIDE_WINDOWS, [this](WPARAM, LPARAM) -> MessageResult {
        HideToTray();
        ShowWindow(m_dlgStatus.Hwnd(), SW_MINIMIZE);
        ShowWindow(m_dlgStatus.Hwnd(), SW_HIDE);
        return 0;
    });
    OnMessage(WM_DEVICE_FOUND, [this](WPARAM, LPARAM) -> MessageResult {
        UpdateTrayTooltip();
        InvalidateRect(Hwnd(), nullptr, FALSE);
        InvalidateRect(m_lists.Music().Hwnd(), nullptr, FALSE);
        return 0;
    });
    OnMessage(WM_STOP_PLAYBACK, [this](WPARAM, LPARAM) -> MessageResult {
        m_player.StopPlayback(true);
        return 0;
    });
    OnMessage(WM_PLAYBACK_FINISHED_A, [this](WPARAM, LPARAM) -> MessageResult {
        m_player.OnFinishedHalf(true);
        return 1;
    });
    OnMessage(WM_PLAYBACK_FINISHED_B, [this](WPARAM, LPARAM) -> MessageResult {
        m_player.OnFinishedHalf(false);
        return 1;
    });
    OnMessage(WM_PLAY_DONE, [this](WPARAM, LPARAM) -> MessageResult {
        m_player.OnPlayDone();
        return 0;
    });
    // The engine's notices that carry a copy for the receiver to free.
    OnMessage(kEngineFileInfo, [](WPARAM info, LPARAM) -> MessageResult {
        delete reinterpret_cast<FileInfo*>(info);
        return 0;
    });
    OnMessage(kEngineOutputName, [](WPARAM name, LPARAM) -> MessageResult {
        delete[] reinterpret_cast<char*>(name);
        return 0;
    });
    OnMessage(WM_RENAME_DONE, [this](WPARAM, LPARAM) -> MessageResult {
        if (!IsBusy()) {
            m_lists.CommitRename();
        }
        return 1;
    });
    OnMessage(WM_SHOW_MENU, [this](WPARAM, LPARAM) -> MessageResult {
        ShowProgramMenu();
        return 0;
    });
    OnMessage(WM_EDIT_TAGS, [this](WPARAM, LPARAM) -> MessageResult {
        EditTags();
        return 0;
    });
    OnMessage(WM_REFRESH_TRACKS, [this](WPARAM, LPARAM) -> MessageResult {
        if (m_lists.SelectedDisc() >= 0) {
            m_lists.FillMusicList(m_lists.SelectedDisc());
        }
        return 0;
    });
    OnMessage(WM_LANGUAGE_CHANGED, [this](WPARAM, LPARAM) -> MessageResult {
        ApplyLanguage();
        return 0;
    });
}

void CDlgManager::RegisterCommands() {
    OnCommand(ID_TRAY_EXIT, [this] { Exit(); });
    OnCommand(ID_EXIT_QUAVERLANE, [this] { Exit(); });
    OnCommand(IDC_MANAGER_TIPS, [this] { ShowTip((m_nTip + 1) % 3); });
    OnCommand(ID_HELP_TOPIC, [this] { m_host.ShowHelp(); });
    OnCommand(ID_APP_ABOUT, [this] { CDlgAbout().Run(CWinAppBase::Get()->Instance(), Hwnd()); });
    OnCommandCode(IDC_MANAGER_DISC_LIST, LBN_SELCHANGE, [this] {
        m_lists.ShowMusicList(true);
        m_lists.FillMusicList(m_lists.SelectedDisc());
    });
    OnCommand(ID_QUICK_GUIDE, [this] { CDlgQuickGuide().Run(CWinAppBase::Get()->Instance(), Hwnd()); });
    OnCommand(ID_TRAY_SHOW_MANAGER, [this] { BringForward(Hwnd()); });
    OnCommand(ID_SHOW_STATUS, [this] { BringForward(m_dlgStatus.Hwnd()); });
    OnCommand(ID_PLAY_SELECTED, [this] { m_player.PlaySelected(); });
    OnNotify(IDC_MANAGER_MUSIC_LIST, NM_DBLCLK, [this](NMHDR&) -> LRESULT {
        m_player.PlaySelected();
        return 0;
    });
    OnCommand(ID_OPEN_LOCATION, [this] { OpenLocation(); });
    OnCommand(ID_EDIT_TAGS, [this] { EditTags(); });
    OnNotify(IDC_MANAGER_MUSIC_LIST, LVN_ITEMCHANGED, [this](NMHDR& header) -> LRESULT {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if ((change.uChanged & LVIF_STATE) != 0 &&
            ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) != 0) {
            ShowSelectedTrack();
        }
        return 0;
    });
    OnCommand(ID_SOFTWARE_WEBSITE, [this] { OpenWebSite(); });
    for (int command : {ID_REFRESH_MUSIC, ID_REFRESH_MUSIC_LIST, ID_REFRESH_DISC_LIST}) {
        OnCommand(command, [this] { WhenIdle(&CCatalogueLists::Reload); });
    }
    OnCommand(ID_LANGUAGE_AUTO, [this] { SelectLanguage(ID_LANGUAGE_AUTO); });
    for (UINT command = kFirstLanguageCommand; command <= kLastLanguageCommand; ++command) {
        OnCommand(static_cast<int>(command), [this, command] { SelectLanguage(command); });
    }
    OnCommand(ID_SYNC_MUSIC_FOLDER, [this] {
        if (!IsBusy()) {
            Synchronise();
        }
    });
    OnCommand(ID_DISC_RENAME, [this] { WhenIdle(&CCatalogueLists::BeginRename); });
    OnCommand(ID_DISC_DELETE, [this] { WhenIdle(&CCatalogueLists::DeleteDisc); });
    OnCommand(ID_MUSIC_DELETE, [this] {
        if (!IsBusy()) {
            // A file being played is held open by the player.
            m_lists.DeleteMusicFile([this](const std::string& path) { m_player.ReleaseFile(path); });
        }
    });
    // A rename ends by Enter or by leaving the editor; leaving alone asks nothing more here.
    OnCommandCode(CEditListBox::kEditorId, EN_KILLFOCUS, [] {});
    // The header's column drags leave stale pixels in the skinned rows.
    for (UINT code :
         {HDN_BEGINTRACKA, HDN_ENDTRACKA, HDN_TRACKA, HDN_BEGINTRACKW, HDN_ENDTRACKW, HDN_TRACKW}) {
        OnNotify(0, code, [this](NMHDR&) -> LRESULT {
            InvalidateRect(m_lists.Music().Hwnd(), nullptr, FALSE);
            return 0;
        });
    }
}

BOOL CDlgManager::OnInitDialog() {
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    m_host.PublishMainWindow(Hwnd());
    SetWindowTextA(Hwnd(), "Quaverlane Manager");
    // Pure red in the skin is no colour but the window's outline: what lies outside it is not
    // the window's.
    SetLayeredAttributes(Hwnd(), kSkinColourKey, 255, LWA_COLORKEY);
    SetWindowLongPtrA(Hwnd(), GWL_STYLE, GetWindowLongPtrA(Hwnd(), GWL_STYLE) | WS_SYSMENU);
    m_hIcon = LoadIconA(CWinAppBase::Get()->Instance(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    if (HMENU system = GetSystemMenu(Hwnd(), FALSE)) {
        AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(system, MF_STRING, IDM_ABOUTBOX, LoadLangString(IDS_ABOUTBOX).c_str());
    }
    CreateTray();
    m_dlgStatus.Create(CWinAppBase::Get()->Instance());
    m_stcTips = Item(IDC_MANAGER_TIPS);

    m_pWatcher->SetNotifyWindow(Hwnd());
    // The folder watched is the one wiped at start and exit: one value, made absolute once.
    const std::string& capture = GetSettings().captureFolder;
    CreateFolderTree(capture);
    m_pWatcher->AddFolder(capture);
    GetCaptureIntake().SetCaptureFolder(capture);
    // Without a folder to watch the program still runs; it just receives no burns.
    m_pWatcher->StartWatching();
    GetCaptureIntake().SetNotifyWindow(m_dlgStatus.Hwnd());
    GetCaptureIntake().StartConversionThread();

    m_player.Create(CWinAppBase::Get()->Instance(), Hwnd(), m_stcTips);
    m_dlgTrackPanel.Create(CWinAppBase::Get()->Instance(), Hwnd());
    ShowWindow(m_dlgTrackPanel.Hwnd(), SW_SHOW);
    m_dlgGuide.Create(CWinAppBase::Get()->Instance(), Hwnd());
    m_lists.Attach(*this, IDC_MANAGER_DISC_LIST, IDC_MANAGER_MUSIC_LIST, m_dlgGuide.Hwnd(), ProjectFile());
    m_bmpSkin.Reset(LoadLangBitmap(IDB_MANAGER_SKIN));
    m_fontRecorder.Reset(CreatePointFont(88, "TOHAMA"));
    SetupPanels();
    // The tip replaces the template's placeholder text, so the language comes first.
    LocaliseDialog(Hwnd(), IDD_MANAGER);
    ShowTip(std::rand() % 3);

    m_menu.Reset(LoadMenuA(CWinAppBase::Get()->Instance(), MAKEINTRESOURCEA(IDR_MANAGER_MENU)));
    if (HMENU program = GetSubMenu(m_menu.Get(), MANAGER_SUBMENU_PROGRAM)) {
        // The language pop-up follows the help entries and their separator.
        for (int i = 0; i < GetMenuItemCount(program); ++i) {
            if (HMENU sub = GetSubMenu(program, i); sub != nullptr) {
                m_languageMenu.Build(sub, GetSettings());
                break;
            }
        }
    }
    LocaliseMenu(m_menu.Get());
    SetTimer(Hwnd(), kBurnEndTimer, kBurnEndTimerPeriod, nullptr);
    m_lists.ShowLastDisc();
    RestorePlacement();
    m_brBackground.Reset(CreateSolidBrush(kEditorGround));
    StartRecorderScan(Hwnd());

    DiscCatalogue& catalogue = GetDiscCatalogue();
    if (catalogue.GetFirstRun() != 0) {
        catalogue.SaveProject(ProjectFile());
        catalogue.SetFirstRun(0);
        m_lists.ShowMusicList(false);
    } else if (catalogue.GetCount() == 0) {
        m_lists.ShowMusicList(false);
    }
    return TRUE;
}

void CDlgManager::CreateTray() {
    m_tray.Create(nullptr, WM_TRAY_NOTIFICATION, " Quaverlane", m_hIcon, IDR_TRAY_MENU, false);
    m_tray.SetIconList(IDI_TRAY_1, IDI_TRAY_4);
    m_tray.StepAnimation();
    m_tray.SetMenuDefaultItem(ID_TRAY_SHOW_MANAGER, false);
}

void CDlgManager::SetupPanels() {
    m_ctlToolbar.Attach(*this, IDC_MANAGER_TOOLBAR);
    m_ctlToolbar.SetBitmaps({IDB_MANAGER_TOOLBAR_NORMAL, IDB_MANAGER_TOOLBAR_HOVER,
                             IDB_MANAGER_TOOLBAR_PRESSED, IDB_MANAGER_TOOLBAR_DISABLED});
    m_ctlToolbar.SetRegions({{true, 0, 16, 1, 90, 37, IDS_TIP_PLAY_SELECTED},
                             {true, 1, 105, 1, 92, 37, IDS_TIP_OPEN_OUTPUT},
                             {true, 2, 197, 1, 103, 37, IDS_TIP_OPTIONS},
                             {true, 3, 300, 1, 82, 37, IDS_TIP_SHOW_MENU}});
    m_ctlCaption.Attach(*this, IDC_MANAGER_CAPTION_BUTTONS);
    m_ctlCaption.SetBitmaps({IDB_MANAGER_CAPTION_NORMAL, IDB_MANAGER_CAPTION_HOVER,
                             IDB_MANAGER_CAPTION_PRESSED, IDB_MANAGER_CAPTION_DISABLED});
    m_ctlCaption.SetRegions(
        {{true, 4, 0, 0, 29, 21, IDS_TIP_MINIMIZE}, {true, 5, 30, 0, 29, 21, IDS_TIP_CLOSE}});
    m_ctlLink.Attach(*this, IDC_MANAGER_LINK);
    m_ctlLink.SetBitmaps({IDB_MANAGER_LINK_NORMAL, IDB_MANAGER_LINK_HOVER, IDB_MANAGER_LINK_PRESSED,
                          IDB_MANAGER_LINK_DISABLED});
    m_ctlLink.SetRegions({{true, 6, 0, 0, 264, 27, IDS_TIP_WEBSITE}});
    for (CImagePanel* panel : {&m_ctlToolbar, &m_ctlCaption, &m_ctlLink}) {
        panel->SetTarget(Hwnd(), WM_PANEL_ACTION);
        panel->BuildTooltips();
    }
}

void CDlgManager::PlaceChildren(int width, int height) {
    const ManagerPlaces places = ManagerPlacesFor(width, height);
    HDWP moves = BeginDeferWindowPos(8);
    auto place = [&moves](HWND child, const RECT& box) {
        if (child != nullptr && moves != nullptr) {
            moves = DeferWindowPos(moves, child, nullptr, box.left, box.top, box.right - box.left,
                                   box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    };
    place(m_lists.Music().Hwnd(), places.music);
    place(m_dlgGuide.Hwnd(), places.music);
    place(m_lists.Discs().Hwnd(), places.discs);
    place(m_stcTips, places.tips);
    place(m_player.BarHwnd(), places.tips);
    place(m_dlgTrackPanel.Hwnd(), places.trackPanel);
    if (moves != nullptr) {
        EndDeferWindowPos(moves);
    }
    m_ctlCaption.Place(places.caption.x, places.caption.y, 58, 21);
    m_ctlToolbar.Place(places.toolbar.x, places.toolbar.y, 392, 38);
    m_ctlLink.Place(places.link.x, places.link.y, 112, 15);
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CDlgManager::RestorePlacement() {
    const Settings& settings = GetSettings();
    int left = settings.windowLeft;
    int top = settings.windowTop;
    int width = settings.windowWidth;
    int height = settings.windowHeight;
    const bool stored = left > 0 && top > 0 && width > 0 && height > 0;
    if (!stored) {
        width = kManagerMinWidth;
        height = kManagerMinHeight;
        RECT work{};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        left = work.left + std::max(0L, (work.right - work.left - width) / 2);
        top = work.top + std::max(0L, (work.bottom - work.top - height) / 2);
    }
    SetWindowPos(Hwnd(), nullptr, left, top, std::max(width, kManagerMinWidth),
                 std::max(height, kManagerMinHeight), SWP_NOZORDER | SWP_NOACTIVATE);
    // The template's size can equal the stored one, and then no WM_SIZE lays the window out.
    RECT client;
    GetClientRect(Hwnd(), &client);
    PlaceChildren(client.right, client.bottom);
}

void CDlgManager::Paint() {
    ScopedPaint paint(Hwnd());
    RECT client;
    GetClientRect(Hwnd(), &client);
    // The children paint themselves; leaving them out of the skin keeps them from flickering.
    for (HWND child = GetWindow(Hwnd(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child)) {
            RECT box;
            GetWindowRect(child, &box);
            MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&box), 2);
            ExcludeClipRect(paint.Get(), box.left, box.top, box.right, box.bottom);
        }
    }
    ScopedMemoryDC canvas(CreateCompatibleDC(paint.Get()));
    ScopedBitmap surface(CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
    ScopedSelect onSurface(canvas.Get(), surface.Get());
    DrawSkinBitmap(canvas.Get(), m_bmpSkin.Get(), client, kSkinFrame);

    const std::string description = GetRecorderDescription();
    const std::string line = description.empty() ? LoadLangString(IDS_SCANNING_RECORDER)
                                                 : FormatLangString(IDS_DEVICE_INSTALLED, description);
    ScopedSelect font(canvas.Get(), m_fontRecorder.Get());
    SetBkMode(canvas.Get(), TRANSPARENT);
    SetTextColor(canvas.Get(), kRecorderShadow);
    TextOutA(canvas.Get(), 21, client.bottom - 29, line.c_str(), static_cast<int>(line.size()));
    SetTextColor(canvas.Get(), RGB(255, 255, 255));
    TextOutA(canvas.Get(), 20, client.bottom - 30, line.c_str(), static_cast<int>(line.size()));
    BitBlt(paint.Get(), 0, 0, client.right, client.bottom, canvas.Get(), 0, 0, SRCCOPY);
}

void CDlgManager::ApplyLanguage() {
    LocaliseDialog(Hwnd(), IDD_MANAGER);
    LocaliseMenu(m_menu.Get());
    m_bmpSkin.Reset(LoadLangBitmap(IDB_MANAGER_SKIN));
    ShowTip(m_nTip);
    m_lists.ApplyLanguage();
    UpdateTrayTooltip();
    // The panels, the player bar, the guide and the status window take the news themselves.
    BroadcastLanguageChanged(Hwnd());
    SendMessageA(m_dlgStatus.Hwnd(), WM_LANGUAGE_CHANGED, 0, 0);
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CDlgManager::ShowTip(int tip) {
    m_nTip = tip;
    SetWindowTextA(m_stcTips, LoadLangString(kTips[m_nTip]).c_str());
    InvalidateRect(m_stcTips, nullptr, TRUE);
}

void CDlgManager::UpdateTrayTooltip() {
    m_tray.SetTooltipText(FormatLangString(IDS_TRAY_TIP_DEVICE, GetRecorderDescription()).c_str());
}

bool CDlgManager::IsBusy() const {
    return GetCaptureIntake().IsBusy() != 0;
}

void CDlgManager::WhenIdle(void (CCatalogueLists::*command)()) {
    if (!IsBusy()) {
        (m_lists.*command)();
    }
}

void CDlgManager::OnCaptureEvent(WPARAM action, char* path) {
    std::unique_ptr<char[]> owned(path);
    m_tray.StepAnimation();
    if (action == FILE_ACTION_ADDED || action == FILE_ACTION_MODIFIED) {
        GetCaptureIntake().OnCaptureFileEvent(owned.get());
    }
}

void CDlgManager::OnBurnEndTimer() {
    int queued = 0;
    GetCaptureIntake().CheckIdleSession(&queued);
    if (queued != 0) {
        m_dlgStatus.SetShowManagerWhenIdle(true);
    }
}

void CDlgManager::OnTrackEncoded(LPARAM result) {
    m_lists.ShowMusicList(true);
    if (std::unique_ptr<_AUDIO_ENCODE_FINISH_RESULT> record =
            TakeOwned<_AUDIO_ENCODE_FINISH_RESULT>(result)) {
        m_lists.RecordTrack(*record);
    }
}

void CDlgManager::OnPanelAction(WPARAM region) {
    switch (region) {
    case 0:
        m_player.PlaySelected();
        break;
    case 1:
        OpenLocation();
        break;
    case 2:
        ShowOptions();
        break;
    case 3:
        PostMessageA(Hwnd(), WM_SHOW_MENU, 0, 0);
        break;
    case 4:
    case 5:
        HideToTray();
        break;
    case 6:
        OpenWebSite();
        break;
    default:
        break;
    }
}

void CDlgManager::ShowOptions() {
    if (CDlgOptions(GetSettings()).Run(CWinAppBase::Get()->Instance(), Hwnd()) == IDOK) {
        // The conversion thread works from its own copy: the next track takes the new one, the
        // track being encoded keeps what it started with.
        GetCaptureIntake().SetChoices(FinishChoicesFrom(GetSettings()));
    }
}

void CDlgManager::Synchronise() {
    CDlgSync sync(GetSettings().outputFolder);
    if (sync.Run(CWinAppBase::Get()->Instance(), Hwnd()) != IDOK) {
        return;
    }
    ScopedWaitCursor wait;
    // The files of the list may be among those the catalogue no longer names.
    m_player.StopPlayback(true);
    GetDiscCatalogue().ReplaceAll(sync.Result());
    m_lists.ShowFirstDisc();
}

void CDlgManager::ShowSelectedTrack() {
    const int row = m_lists.SelectedRow();
    if (row < 0) {
        m_dlgTrackPanel.SetTrack("", "", "");
        return;
    }
    m_dlgTrackPanel.SetTrack(m_lists.RowText(row, kColumnLocation), m_lists.RowText(row, kColumnName),
                             m_lists.RowText(row, kColumnTime));
}

void CDlgManager::EditTags() {
    const int row = m_lists.SelectedRow();
    if (row < 0) {
        return;
    }
    CCatalogueSteps steps(GetDiscCatalogue());
    CDlgFileInfo dialog(steps);
    dialog.SetFile(m_lists.RowText(row, kColumnLocation));
    if (dialog.DoModal(CWinAppBase::Get()->Instance(), Hwnd()) != IDOK ||
        (dialog.Result() != kFileMp3 && dialog.Result() != kFileWma)) {
        return;
    }
    // The dialog may have stepped to another file of the disc before OK: the tags are that file's.
    const EditedTags& tags = dialog.Edited();
    m_lists.SetTrackTags(dialog.Path(), tags.title, tags.artist, tags.album, tags.genre);
    ShowSelectedTrack();
}

void CDlgManager::OnInitMenuPopup(HMENU menu) {
    const bool idle = !IsBusy();
    const bool disc = m_lists.SelectedDisc() >= 0;
    const bool row = m_lists.SelectedRow() >= 0;
    auto enable = [menu](UINT command, bool on) {
        EnableMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    for (UINT command : {ID_REFRESH_MUSIC, ID_REFRESH_MUSIC_LIST, ID_REFRESH_DISC_LIST}) {
        enable(command, idle);
    }
    enable(ID_DISC_RENAME, idle && disc);
    enable(ID_DISC_DELETE, idle && disc);
    enable(ID_MUSIC_DELETE, idle && disc && row);
    enable(ID_PLAY_SELECTED, row);
    enable(ID_OPEN_LOCATION, row || disc);
    enable(ID_EDIT_TAGS, row);
    enable(ID_SYNC_MUSIC_FOLDER, idle);
}

void CDlgManager::OnContextMenu(HWND over, POINT screen) {
    int submenu = -1;
    HWND list = nullptr;
    if (over == m_lists.Music().Hwnd()) {
        submenu = MANAGER_SUBMENU_MUSIC_LIST;
        list = over;
    } else if (over == m_lists.Discs().Hwnd()) {
        submenu = MANAGER_SUBMENU_DISC_LIST;
        list = over;
    }
    if (list == nullptr) {
        return;
    }
    if (screen.x == -1 && screen.y == -1) {
        // From the keyboard: at the list's corner.
        RECT box;
        GetWindowRect(list, &box);
        screen = {box.left + 8, box.top + 8};
    }
    TrackPopupMenu(GetSubMenu(m_menu.Get(), submenu), TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0,
                   Hwnd(), nullptr);
}

void CDlgManager::ShowProgramMenu() {
    RECT client;
    GetClientRect(Hwnd(), &client);
    POINT at = {client.right - 112, 67};
    ClientToScreen(Hwnd(), &at);
    TrackPopupMenu(GetSubMenu(m_menu.Get(), MANAGER_SUBMENU_PROGRAM), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x,
                   at.y, 0, Hwnd(), nullptr);
    InvalidateRect(m_ctlToolbar.Hwnd(), nullptr, FALSE);
}

void CDlgManager::OpenLocation() {
    const int row = m_lists.SelectedRow();
    if (row >= 0) {
        ShowFileInExplorer(Hwnd(), m_lists.RowText(row, kColumnLocation));
        return;
    }
    const int disc = m_lists.SelectedDisc();
    if (disc < 0) {
        return;
    }
    std::string folder;
    {
        DiscCatalogue& catalogue = GetDiscCatalogue();
        ScopedLock lock(catalogue.Lock());
        if (const DiscRecord* record = catalogue.GetDisc(static_cast<size_t>(disc))) {
            folder = record->GetFolder();
        }
    }
    if (!folder.empty()) {
        ShellExecuteA(Hwnd(), "open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

void CDlgManager::OpenWebSite() {
    const std::string address = LinkLibrary::ProductWebAddress();
    if (!address.empty()) {
        ShellExecuteA(Hwnd(), "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    }
}

void CDlgManager::SelectLanguage(UINT command) {
    HMENU program = GetSubMenu(m_menu.Get(), MANAGER_SUBMENU_PROGRAM);
    HMENU languages = nullptr;
    for (int i = 0; program != nullptr && i < GetMenuItemCount(program) && languages == nullptr; ++i) {
        languages = GetSubMenu(program, i);
    }
    if (languages == nullptr) {
        return;
    }
    const bool changed = command == ID_LANGUAGE_AUTO
                             ? m_languageMenu.SelectAuto(languages, GetSettings(), GetSystemDefaultLangID())
                             : m_languageMenu.Select(languages, command, GetSettings());
    if (changed) {
        ApplyLanguage();
    }
}

void CDlgManager::HideToTray() {
    ShowWindow(Hwnd(), SW_MINIMIZE);
    ShowWindow(Hwnd(), SW_HIDE);
}

void CDlgManager::BringForward(HWND window) {
    SetForegroundWindow(window);
    ShowWindow(window, SW_RESTORE);
    ShowWindow(window, SW_SHOW);
}

void CDlgManager::StopCapture() {
    if (!m_bCaptureStopped) {
        m_bCaptureStopped = true;
        GetCaptureIntake().StopConversionThread();
        m_pWatcher->StopWatching();
    }
}

void CDlgManager::Exit() {
    HWND window = Hwnd();
    ShowWindow(window, SW_RESTORE);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    SetForegroundWindow(window);
    const CWinAppBase& app = *CWinAppBase::Get();
    if (app.MessageBoxText(LoadLangString(IDS_CONFIRM_EXIT).c_str(), MB_YESNO | MB_ICONQUESTION, window) !=
        IDYES) {
        return;
    }
    ShowWindow(window, SW_HIDE);
    m_player.StopPlayback(false);
    StopCapture();
    DispatchPendingMessages();
    StorePlacement();
    SaveProject();
    DestroyWindow(window);
    PostQuitMessage(0);
}

void CDlgManager::StorePlacement() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    // The normal place, whether the window is shown, hidden or minimised just now.
    if (!GetWindowPlacement(Hwnd(), &placement)) {
        return;
    }
    const RECT& bounds = placement.rcNormalPosition;
    Settings& settings = GetSettings();
    settings.windowLeft = bounds.left;
    settings.windowTop = bounds.top;
    settings.windowWidth = bounds.right - bounds.left;
    settings.windowHeight = bounds.bottom - bounds.top;
}

void CDlgManager::SaveProject() {
    GetDiscCatalogue().SaveProject(ProjectFile());
}

LRESULT CDlgManager::SizingEdgeAt(LPARAM clientPoint) const {
    RECT client;
    GetClientRect(Hwnd(), &client);
    return ManagerSizingEdge({GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)}, client.right,
                             client.bottom);
}
