#include "ui/manager/DlgStatus.h"

#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/framework/WinApp.h"
#include "capture/TrackQueue.h"
#include "res/ids/AppIds.h"
#include "res/ids/ArtIds.h"
#include "res/ids/StatusIds.h"
#include "res/ids/StringIds.h"
#include "ui/controls/Skin.h"

namespace {

constexpr char kWaitingText[] = "Waiting burn action...";
constexpr BYTE kAlpha = 200;
constexpr POINT kProgressPlace = {21, 64};
constexpr SIZE kProgressSize = {173, 15};
constexpr RECT kPanelPlace = {129, 0, 129 + 86, 59};

// The manager window is the application's main window.
HWND ManagerWindow() {
    return CWinAppBase::Get() != nullptr ? CWinAppBase::Get()->MainWindow() : nullptr;
}

// Bring the manager forward: in front, restored and shown.
void BringManagerForward() {
    if (HWND manager = ManagerWindow()) {
        SetForegroundWindow(manager);
        ShowWindow(manager, SW_RESTORE);
        ShowWindow(manager, SW_SHOW);
    }
}

} // namespace

RECT StatusCornerPlace(const RECT& workArea) {
    LONG left = workArea.right - kStatusWidth;
    LONG top = workArea.bottom - kStatusHeight;
    return {left, top, left + kStatusWidth, top + kStatusHeight};
}

CDlgStatus::CDlgStatus(TrackQueue& queue) : m_queue(queue) {
    OnCommand(IDC_STATUS_CLOSE, [this] { Hide(); });
    OnCommand(IDC_STATUS_OPEN_MANAGER, [] { BringManagerForward(); });
    OnMessage(WM_SHOWWINDOW, [this](WPARAM shown, LPARAM) -> MessageResult {
        if (shown != 0) {
            PlaceAtCorner(true);
        }
        return {};
    });
    OnMessage(WM_PAINT, [this](WPARAM, LPARAM) -> MessageResult {
        Paint();
        return 0;
    });
    // The background picture covers the whole window: erasing first would only flicker.
    OnMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> MessageResult { return TRUE; });
    OnMessage(WM_NCHITTEST, [this](WPARAM wParam, LPARAM lParam) -> MessageResult {
        // Dragged by any point of its body.
        LRESULT hit = DefWindowProcA(Hwnd(), WM_NCHITTEST, wParam, lParam);
        return hit == HTCLIENT ? HTCAPTION : hit;
    });
    OnMessage(WM_CTLCOLORSTATIC, [this](WPARAM dc, LPARAM control) -> MessageResult {
        if (reinterpret_cast<HWND>(control) != m_stcCaption) {
            return {};
        }
        // The label stands on the background picture.
        SetBkMode(reinterpret_cast<HDC>(dc), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    });
    OnMessage(WM_STATUS_HOTSPOT, [this](WPARAM region, LPARAM) -> MessageResult {
        if (region == 0) {
            BringManagerForward();
        } else if (region == 1) {
            Hide();
        }
        return 0;
    });
    OnMessage(WM_ENCODE_PROGRESS, [this](WPARAM done, LPARAM total) -> MessageResult {
        OnEncodeProgress(static_cast<unsigned>(done), static_cast<unsigned>(total));
        return 0;
    });
    OnMessage(WM_TRACK_ENCODED, [](WPARAM wParam, LPARAM lParam) -> MessageResult {
        // Sent on, not posted: the manager has recorded the track before the next message here.
        HWND manager = ManagerWindow();
        return manager != nullptr ? SendMessageA(manager, WM_TRACK_ENCODED, wParam, lParam) : 0;
    });
    OnMessage(WM_LANGUAGE_CHANGED, [this](WPARAM, LPARAM) -> MessageResult {
        // Nothing of this window's own changes; the image panel reloads its pictures and tips.
        BroadcastLanguageChanged(Hwnd());
        return 0;
    });
}

CDlgStatus::~CDlgStatus() {
    Destroy();
}

bool CDlgStatus::Create(HINSTANCE instance) {
    return CreateModeless(instance, IDD_STATUS, GetDesktopWindow());
}

BOOL CDlgStatus::OnInitDialog() {
    LocaliseDialog(Hwnd(), IDD_STATUS);
    m_stcCaption = Item(IDC_STATUS_CAPTION);
    m_ctlProgress.Attach(*this, IDC_STATUS_PROGRESS);
    m_ctlPanel.Attach(*this, IDC_STATUS_PANEL);
    m_hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    m_bmpBackground.Reset(LoadLangBitmap(IDB_STATUS_BACKGROUND));
    SetWindowTextA(Hwnd(), "Quaverlane Status");
    SetWindowLongPtrA(Hwnd(), GWL_STYLE, GetWindowLongPtrA(Hwnd(), GWL_STYLE) | WS_SYSMENU);
    PlaceAtCorner(false);
    ApplyLayeredAlpha();
    SetupPanel();
    ShowProgressText(kWaitingText);
    LOGFONTA face{};
    {
        HDC screen = GetDC(nullptr);
        face.lfHeight = -MulDiv(90, GetDeviceCaps(screen, LOGPIXELSY), 720);
        ReleaseDC(nullptr, screen);
    }
    lstrcpynA(face.lfFaceName, "Vendana", LF_FACESIZE);
    m_fontCaption.Reset(CreateFontIndirectA(&face));
    SendMessageA(m_stcCaption, WM_SETFONT, reinterpret_cast<WPARAM>(m_fontCaption.Get()), FALSE);
    SetWindowTextA(m_stcCaption, "");
    return TRUE;
}

void CDlgStatus::PlaceAtCorner(bool show) {
    RECT workArea{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    m_rcWindow = StatusCornerPlace(workArea);
    SetWindowPos(Hwnd(), HWND_TOPMOST, m_rcWindow.left, m_rcWindow.top, kStatusWidth, kStatusHeight,
                 SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    MoveWindow(m_ctlProgress.Hwnd(), kProgressPlace.x, kProgressPlace.y, kProgressSize.cx, kProgressSize.cy,
               TRUE);
}

void CDlgStatus::ApplyLayeredAlpha() {
    SetLayeredAttributes(Hwnd(), 0, kAlpha, LWA_ALPHA);
}

void CDlgStatus::SetupPanel() {
    m_ctlPanel.Place(kPanelPlace.left, kPanelPlace.top, kPanelPlace.right - kPanelPlace.left,
                     kPanelPlace.bottom - kPanelPlace.top);
    m_ctlPanel.SetBitmaps({IDB_STATUS_PANEL_NORMAL, IDB_STATUS_PANEL_HOVER, IDB_STATUS_PANEL_PRESSED,
                           IDB_STATUS_PANEL_DISABLED});
    // Region 0 is wider than the panel; the panel's edge cuts it.
    m_ctlPanel.SetRegions(
        {{true, 0, 0, 29, 89, 31, IDS_TIP_OPEN_MANAGER}, {true, 1, 62, 1, 20, 20, IDS_TIP_CLOSE_STATUS}});
    m_ctlPanel.SetTarget(Hwnd(), WM_STATUS_HOTSPOT);
    m_ctlPanel.BuildTooltips();
}

void CDlgStatus::OnEncodeProgress(unsigned done, unsigned total) {
    if (total == 0) {
        return;
    }
    if (done < total) {
        if (!IsWindowVisible(Hwnd())) {
            ShowWindow(Hwnd(), SW_RESTORE);
            ShowWindow(Hwnd(), SW_SHOW);
            UpdateWindow(Hwnd());
        }
        bool firstBlock = !m_strProgressText.empty();
        bool changed = firstBlock || m_ctlProgress.Pos() != ProgressPercent(done, total);
        if (firstBlock) {
            ShowProgressText("");
            // Looked up once a track, not once a block: every lookup reads the language file.
            SetWindowTextA(m_stcCaption, LoadLangString(IDS_ENCODING).c_str());
        }
        m_ctlProgress.SetPos(ProgressPercent(done, total));
        // The encoder posts faster than a window repaints: painting waits for an empty queue, so
        // without this the bar would not move until the track is done. At most once a percent.
        if (changed) {
            RedrawWindow(Hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        return;
    }
    if (m_bShowManagerWhenIdle && m_queue.PendingTrackCount() == 0) {
        m_bShowManagerWhenIdle = false;
        BringManagerForward();
    }
    if (IsWindowVisible(Hwnd())) {
        Hide();
        UpdateWindow(Hwnd());
    }
    ShowProgressText(kWaitingText);
}

void CDlgStatus::ShowProgressText(const std::string& text) {
    m_strProgressText = text;
    m_ctlProgress.SetText(text);
}

void CDlgStatus::Hide() {
    ShowWindow(Hwnd(), SW_HIDE);
}

void CDlgStatus::Paint() {
    ScopedPaint paint(Hwnd());
    if (IsIconic(Hwnd())) {
        RECT client;
        GetClientRect(Hwnd(), &client);
        int size = GetSystemMetrics(SM_CXICON);
        DrawIcon(paint.Get(), (client.right - size + 1) / 2, (client.bottom - size + 1) / 2, m_hIcon);
        return;
    }
    ScopedMemoryDC memory(CreateCompatibleDC(paint.Get()));
    ScopedSelect picture(memory.Get(), m_bmpBackground.Get());
    BitBlt(paint.Get(), 0, 0, kStatusWidth, kStatusHeight, memory.Get(), 0, 0, SRCCOPY);
}
