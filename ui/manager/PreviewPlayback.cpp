#include "ui/manager/PreviewPlayback.h"

#include "app/framework/MessagePump.h"
#include "player/PlayQueue.h"

#include <cstdio>

namespace {

ScopedHandle ManualResetEvent() {
    return ScopedHandle(CreateEventA(nullptr, TRUE, FALSE, nullptr));
}

} // namespace

std::string PlayTimeText(DWORD elapsedMs, const std::string& totalText, const std::string& shortFormat,
                         const std::string& longFormat) {
    const unsigned seconds = elapsedMs / 1000;
    char text[512];
    if (seconds < 3600) {
        snprintf(text, sizeof text, shortFormat.c_str(), seconds / 60, seconds % 60, totalText.c_str());
    } else {
        snprintf(text, sizeof text, longFormat.c_str(), seconds / 3600, seconds / 60 % 60, seconds % 60,
                 totalText.c_str());
    }
    return text;
}

PreviewPlayback::PreviewPlayback()
    : m_hStop(ManualResetEvent()), m_hFinished{ManualResetEvent(), ManualResetEvent()} {}

PreviewPlayback::~PreviewPlayback() {
    if (m_pPlayer) {
        // The window that would dispatch the end message is going: end the list directly.
        SetEvent(m_hStop.Get());
        m_pPlayer->Destroy();
    }
}

bool PreviewPlayback::Play(const std::string& path, const std::string& timeText, HWND owner) {
    Stop();
    if (!m_pPlayer) {
        m_pPlayer = std::make_unique<PlayQueue>();
    }
    m_strPlayingTime = timeText;
    m_dwPlayStart = GetTickCount();
    m_dwPlayElapsed = 0;
    m_pPlayer->Clear();
    m_pPlayer->Add(path.c_str());
    ResetEvent(m_hStop.Get());
    ResetEvent(m_hFinished[0].Get());
    ResetEvent(m_hFinished[1].Get());
    if (m_pPlayer->Start(m_hStop.Get(), owner, true, false, m_hFinished[0].Get()) == 0) {
        m_pPlayer.reset();
        return false;
    }
    m_bPlaying = true;
    m_bPaused = false;
    m_strPlayingPath = path;
    return true;
}

void PreviewPlayback::Stop() {
    if (!m_pPlayer) {
        return;
    }
    SetEvent(m_hStop.Get());
    const HANDLE finished[2] = {m_hFinished[0].Get(), m_hFinished[1].Get()};
    // The end message sets both; a list that never got an engine ends without one.
    while (!DispatchPendingMessages(finished, 2) && m_pPlayer->IsRunning()) {
        MsgWaitForMultipleObjects(2, finished, FALSE, 50, QS_ALLINPUT);
    }
    m_dwPlayElapsed = 0;
    m_bPaused = false;
    m_bPlaying = false;
    m_strPlayingPath.clear();
    m_pPlayer->Destroy();
    m_pPlayer.reset();
}

void PreviewPlayback::PostToEngine(UINT message) {
    if (m_pPlayer && m_pPlayer->Engine() != nullptr) {
        EnginePost(m_pPlayer->Engine(), message);
    }
}

void PreviewPlayback::Pause() {
    if (m_bPlaying && !m_bPaused) {
        PostToEngine(kEnginePause);
        m_bPaused = true;
    }
}

void PreviewPlayback::Resume() {
    if (m_bPlaying && m_bPaused) {
        PostToEngine(kEnginePlay);
        m_bPaused = false;
    }
}

void PreviewPlayback::OnPlayDone() {
    SetEvent(m_hFinished[0].Get());
    SetEvent(m_hFinished[1].Get());
}

std::string PreviewPlayback::Tick(const std::string& shortFormat, const std::string& longFormat) {
    const DWORD now = GetTickCount();
    if (!m_bPaused) {
        m_dwPlayElapsed += now - m_dwPlayStart;
    }
    m_dwPlayStart = now;
    return PlayTimeText(m_dwPlayElapsed, m_strPlayingTime, shortFormat, longFormat);
}
