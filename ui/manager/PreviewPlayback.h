// The manager's preview player: one file at a time through a play list of the playback engine,
// with the elapsed time kept by the window's timer. Lives on the user-interface thread.
#pragma once

#include "app/framework/Scoped.h"

#include <windows.h>

#include <memory>
#include <string>

class PlayQueue;

// "m:ss-total" under an hour, "hh:mm:ss-total" from an hour on, from the language's formats.
std::string PlayTimeText(DWORD elapsedMs, const std::string& totalText, const std::string& shortFormat,
                         const std::string& longFormat);

class PreviewPlayback {
public:
    PreviewPlayback();
    ~PreviewPlayback();
    PreviewPlayback(const PreviewPlayback&) = delete;
    PreviewPlayback& operator=(const PreviewPlayback&) = delete;

    // Plays the file; owner receives the engine's notices and the end of the play list.
    bool Play(const std::string& path, const std::string& timeText, HWND owner);
    // Ends playback and waits for the play list and the engine while the thread's messages are
    // dispatched, so that the windows stay alive meanwhile. Nothing happens when nothing plays.
    void Stop();
    void Pause();
    void Resume();
    // The play list has ended (its end message arrived).
    void OnPlayDone();
    // Adds the time since the last tick to the elapsed time (a paused player only restarts the
    // count), and gives the text to show.
    std::string Tick(const std::string& shortFormat, const std::string& longFormat);

    bool IsPlaying() const { return m_bPlaying; }
    bool IsPaused() const { return m_bPaused; }
    const std::string& PlayingPath() const { return m_strPlayingPath; }
    const std::string& PlayingTime() const { return m_strPlayingTime; }

private:
    void PostToEngine(UINT message);

    std::unique_ptr<PlayQueue> m_pPlayer;
    ScopedHandle m_hStop;
    // Set once the play list has ended; the first is also the list's external end request.
    ScopedHandle m_hFinished[2];
    bool m_bPlaying = false;
    bool m_bPaused = false;
    DWORD m_dwPlayStart = 0;
    DWORD m_dwPlayElapsed = 0;
    std::string m_strPlayingPath;
    std::string m_strPlayingTime;
};
