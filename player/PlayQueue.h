// The player's play list: up to 20 files played one after the other on a thread of its own,
// through one engine that lives as long as the queue.
#pragma once

#include "player/engine/Engine.h"

#include <atomic>

// Posted to the owner window when the play list has ended.
constexpr UINT WM_PLAY_DONE = WM_USER + 1479;

class PlayQueue {
public:
    static constexpr int kMaxPaths = 20;

    PlayQueue();
    ~PlayQueue();
    PlayQueue(const PlayQueue&) = delete;
    PlayQueue& operator=(const PlayQueue&) = delete;

    void Clear();
    // Ignored when the list is full or the path is empty.
    void Add(const char* path);
    int Count() const { return m_count; }
    // Plays the list on the play thread. The stop event is the caller's and must not be null; the
    // external event (may be null) ends playback too, after the current file when finishCurrent
    // is set. 0 when the list is empty, the stop event is missing or a list is still playing.
    int Start(HANDLE stopEvent, HWND owner, bool playOnce, bool finishCurrent, HANDLE externalEvent);
    // Ends the play thread, then stops and destroys the engine and closes the queue's events.
    void Destroy();

    // The decoders of the engine the queue creates; the standard three unless set before Start.
    void SetDecoders(const EngineDecoders& decoders) { m_decoders = decoders; }
    EngineControl* Engine() const { return m_engine; }
    // Whether the play thread is still at work (it ends without the end message when the engine
    // cannot be created).
    bool IsRunning() const;

private:
    static DWORD WINAPI Main(void* parameter);
    DWORD Play();
    void WaitForThread();

    EngineControl* m_engine = nullptr;
    EngineDecoders m_decoders = StandardEngineDecoders();
    HANDLE m_nextEvent = nullptr;
    HANDLE m_finishedEvent = nullptr;
    char m_paths[kMaxPaths][MAX_PATH] = {};
    int m_count = 0;
    HANDLE m_stopEvent = nullptr;
    HWND m_owner = nullptr;
    bool m_playOnce = false;
    bool m_finishCurrent = false;
    HANDLE m_externalEvent = nullptr;
    HANDLE m_thread = nullptr;
    std::atomic<bool> m_quit = false;
};
