#include "ui/manager/ManagerPlayer.h"

#include "app/Localisation.h"
#include "app/Messages.h"
#include "app/framework/Scoped.h"
#include "app/framework/WinApp.h"
#include "project/DiscCatalogue.h"
#include "res/ids/StringIds.h"
#include "ui/manager/CatalogueLists.h"

bool NeighbourTrack(DiscCatalogue& catalogue, const std::string& playing, int step, std::string& path,
                    std::string& time) {
    ScopedLock lock(catalogue.Lock());
    for (size_t disc = 0; disc < catalogue.GetCount(); ++disc) {
        const DiscRecord* record = catalogue.GetDisc(disc);
        for (size_t i = 0; i < record->GetTrackCount(); ++i) {
            if (_stricmp(record->GetTrackPath(i).c_str(), playing.c_str()) != 0) {
                continue;
            }
            const long long next = static_cast<long long>(i) + step;
            if (next < 0 || next >= static_cast<long long>(record->GetTrackCount())) {
                return false;
            }
            path = record->GetTrackPath(static_cast<size_t>(next));
            time = record->GetTrackTime(static_cast<size_t>(next));
            return true;
        }
    }
    return false;
}

CManagerPlayer::CManagerPlayer(CCatalogueLists& lists) : m_lists(lists), m_dlgPlayer(*this) {}

bool CManagerPlayer::Create(HINSTANCE instance, HWND owner, HWND tips) {
    m_hOwner = owner;
    m_stcTips = tips;
    return m_dlgPlayer.Create(instance, owner);
}

std::string CManagerPlayer::TimeText() {
    return m_player.Tick(LoadLangString(IDS_PLAY_TIME_SHORT), LoadLangString(IDS_PLAY_TIME_LONG));
}

void CManagerPlayer::PlaySelected() {
    const int row = m_lists.SelectedRow();
    if (row < 0) {
        CWinAppBase::Get()->MessageBoxText(LoadLangString(IDS_SELECT_FILE_TO_PLAY).c_str(),
                                           MB_OK | MB_ICONINFORMATION, m_hOwner);
        return;
    }
    PlayPath(m_lists.RowText(row, kColumnLocation), m_lists.RowText(row, kColumnTime));
}

void CManagerPlayer::PlayPath(const std::string& path, const std::string& timeText) {
    StopPlayback(false);
    if (!IsWindowVisible(m_dlgPlayer.Hwnd())) {
        ShowWindow(m_stcTips, SW_HIDE);
        ShowWindow(m_dlgPlayer.Hwnd(), SW_SHOW);
    }
    if (!m_player.Play(path, timeText, m_hOwner)) {
        StopPlayback(true);
        return;
    }
    m_bFinishedA = m_bFinishedB = false;
    m_lists.Music().SetPlayingPath(path);
    m_dlgPlayer.SetNowPlaying(path);
    m_dlgPlayer.SetTimeText(TimeText());
    SetTimer(m_hOwner, kPlayTimeTimer, kPlayTimePeriod, nullptr);
}

void CManagerPlayer::StopPlayback(bool switchPanels) {
    KillTimer(m_hOwner, kPlayTimeTimer);
    // The wait for the engine dispatches messages, among them perhaps another stop.
    if (!m_bStoppingPlayback) {
        m_bStoppingPlayback = true;
        m_player.Stop();
        m_bStoppingPlayback = false;
    }
    if (switchPanels) {
        ShowWindow(m_stcTips, SW_SHOW);
        ShowWindow(m_dlgPlayer.Hwnd(), SW_HIDE);
    }
    m_lists.Music().SetPlayingPath("");
    InvalidateRect(m_hOwner, nullptr, FALSE);
}

void CManagerPlayer::OnPlayTimeTimer() {
    if (m_player.IsPlaying()) {
        m_dlgPlayer.SetTimeText(TimeText());
    }
}

void CManagerPlayer::OnPlayDone() {
    KillTimer(m_hOwner, kPlayTimeTimer);
    m_player.OnPlayDone();
    // A file that played to its end: the tips come back as after a stop.
    if (!m_bStoppingPlayback) {
        PostMessageA(m_hOwner, WM_STOP_PLAYBACK, 0, 0);
    }
}

void CManagerPlayer::OnFinishedHalf(bool first) {
    (first ? m_bFinishedA : m_bFinishedB) = true;
    if (m_bFinishedA && m_bFinishedB) {
        StopPlayback(true);
    }
}

void CManagerPlayer::ReleaseFile(const std::string& path) {
    if (_stricmp(path.c_str(), m_player.PlayingPath().c_str()) == 0) {
        StopPlayback(true);
    }
}

void CManagerPlayer::PlayOrResume() {
    if (m_player.IsPaused()) {
        m_player.Resume();
    } else {
        PlaySelected();
    }
}

void CManagerPlayer::PlayNeighbour(int step) {
    const std::string playing = m_player.PlayingPath();
    StopPlayback(false);
    std::string path;
    std::string time;
    if (NeighbourTrack(GetDiscCatalogue(), playing, step, path, time)) {
        PlayPath(path, time);
    } else {
        StopPlayback(true);
    }
}
