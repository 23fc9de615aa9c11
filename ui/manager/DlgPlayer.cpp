#include "ui/manager/DlgPlayer.h"

#include "app/Localisation.h"
#include "app/Messages.h"
#include "res/ids/ArtIds.h"
#include "res/ids/PlayerIds.h"
#include "res/ids/StringIds.h"

namespace {

constexpr int kStripWidth = 210;
constexpr int kButtonsHeight = 28;
constexpr COLORREF kBarColour = RGB(224, 224, 224);
// A dim display: light lavender letters on near black.
constexpr COLORREF kMarqueeText = RGB(200, 200, 250);
constexpr COLORREF kMarqueeGround = RGB(40, 40, 40);
constexpr char kNothingYet[] = "Now playing...";
constexpr int kNowPlayingWidth = 200;
// Blanks before and after the time keep it apart from the item and from the item's next round.
constexpr char kTimeLead[] = "     ";
constexpr char kTimeTrail[] = "    ";

enum PlayerRegion { kPrevious, kPlay, kPause, kStop, kNext };

// A control's rectangle in its parent's client pixels.
RECT PlaceInParent(HWND control) {
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

} // namespace

CDlgPlayer::CDlgPlayer(IPlayerActions& actions) : m_actions(actions), m_brBar(CreateSolidBrush(kBarColour)) {
    OnCommand(IDC_PLAYER_STOP, [this] { m_actions.Stop(); });
    OnMessage(WM_PAINT, [this](WPARAM, LPARAM) -> MessageResult {
        Paint();
        return 0;
    });
    // The paint fills every pixel: erasing first would only flicker.
    OnMessage(WM_ERASEBKGND, [](WPARAM, LPARAM) -> MessageResult { return TRUE; });
    OnMessage(WM_PANEL_BUTTON, [this](WPARAM region, LPARAM) -> MessageResult {
        OnButton(region);
        return 0;
    });
    OnMessage(WM_LANGUAGE_CHANGED, [this](WPARAM, LPARAM) -> MessageResult {
        // The button panel hears the switch itself: the manager tells every descendant.
        LocaliseDialog(Hwnd(), IDD_PLAYER);
        ShowNowPlaying();
        return 0;
    });
}

CDlgPlayer::~CDlgPlayer() {
    Destroy();
}

bool CDlgPlayer::Create(HINSTANCE instance, HWND parent) {
    return CreateChild(instance, IDD_PLAYER, parent);
}

BOOL CDlgPlayer::OnInitDialog() {
    LocaliseDialog(Hwnd(), IDD_PLAYER);
    SetupMarquee();
    SetupButtons();
    return TRUE;
}

void CDlgPlayer::SetupMarquee() {
    m_ctlMarquee.Attach(*this, IDC_PLAYER_TIME);
    m_ctlMarquee.SetColours(kMarqueeText, kMarqueeGround);
    m_pNowPlaying = m_ctlMarquee.AddItem(Translate(kNothingYet), 0, kNowPlayingWidth);
    m_ctlMarquee.Start();
    RECT label = PlaceInParent(m_ctlMarquee.Hwnd());
    SetWindowPos(m_ctlMarquee.Hwnd(), nullptr, 0, 0, kStripWidth, label.bottom - label.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDlgPlayer::SetupButtons() {
    m_ctlButtons.Attach(*this, IDC_PLAYER_BUTTONS);
    RECT label = PlaceInParent(m_ctlMarquee.Hwnd());
    m_ctlButtons.Place(label.left, label.bottom, kStripWidth, kButtonsHeight);
    m_ctlButtons.SetBitmaps({IDB_PLAYER_NORMAL, IDB_PLAYER_HOVER, IDB_PLAYER_PRESSED, IDB_PLAYER_DISABLED});
    m_ctlButtons.SetRegions({{true, kPrevious, 41, 2, 24, 21, IDS_TIP_PREVIOUS_TRACK},
                             {true, kPlay, 66, 2, 24, 21, IDS_TIP_PLAY},
                             {true, kPause, 91, 2, 24, 21, IDS_TIP_PAUSE},
                             {true, kStop, 116, 2, 24, 21, IDS_TIP_STOP},
                             {true, kNext, 141, 2, 24, 21, IDS_TIP_NEXT_TRACK}});
    m_ctlButtons.SetTarget(Hwnd(), WM_PANEL_BUTTON);
    m_ctlButtons.BuildTooltips();
}

void CDlgPlayer::OnButton(WPARAM region) {
    switch (region) {
    case kPrevious:
        m_actions.PreviousTrack();
        break;
    case kPlay:
        m_actions.PlayOrResume();
        break;
    case kPause:
        m_actions.Pause();
        break;
    case kStop:
        m_actions.Stop();
        break;
    case kNext:
        m_actions.NextTrack();
        break;
    default:
        break;
    }
}

void CDlgPlayer::SetNowPlaying(const std::string& path) {
    m_strNowPlayingPath = path;
    ShowNowPlaying();
}

void CDlgPlayer::ShowNowPlaying() {
    if (m_strNowPlayingPath.empty()) {
        m_ctlMarquee.SetItemText(m_pNowPlaying, Translate(kNothingYet));
        return;
    }
    m_ctlMarquee.SetItemText(m_pNowPlaying, FormatLangString(IDS_NOW_PLAYING, m_strNowPlayingPath));
}

void CDlgPlayer::SetTimeText(const std::string& text) {
    m_ctlMarquee.SetText(kTimeLead + text + kTimeTrail);
    UpdateWindow(m_ctlMarquee.Hwnd());
}

void CDlgPlayer::Paint() {
    ScopedPaint paint(Hwnd());
    RECT client;
    GetClientRect(Hwnd(), &client);
    FillRect(paint.Get(), &client, m_brBar.Get());
}
