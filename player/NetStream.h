// "http:" paths: a download thread reads the stream through WinINet into a ring buffer, from which
// the engine thread's stream decoder reads.
#pragma once

#include "player/RingBuffer.h"

#include <atomic>
#include <memory>

class NetStream {
public:
    static constexpr DWORD kBufferBytes = 0x40000;
    static constexpr DWORD kReadBytes = 4096;
    // Playback starts once this much is buffered (or the stream ended sooner).
    static constexpr DWORD kStartBytes = 32768;

    // Starts the download thread; notifyWindow (may be null) receives 0x8107 as the buffer fills.
    // The thread shares the object, so that Stop need not wait for a server that stays silent.
    static std::shared_ptr<NetStream> Start(const char* url, HWND notifyWindow);
    ~NetStream();
    // Ends the download: cancels it and gives the thread a moment to finish; a thread held in a
    // read by a silent server is left to end on its own, with its share of the object.
    void Stop();
    NetStream(const NetStream&) = delete;
    NetStream& operator=(const NetStream&) = delete;

    // On the reading (engine) thread: waits until kStartBytes are buffered or the download has
    // ended; false when a stop or quit message arrives for the thread first.
    bool WaitToStart();
    // On the reading thread: copies what is there, up to bytes, waiting while nothing is; 0 only
    // at the end of the stream or when a stop or quit message waits for the thread.
    DWORD Read(void* data, DWORD bytes);
    bool ReadExactly(void* data, DWORD bytes);

    RingBuffer& Buffer() { return m_buffer; }
    // True once the download has ended, for whatever reason.
    bool Finished() const { return m_finished; }
    // Fill percentage of the ring buffer.
    int Percent();

private:
    static constexpr DWORD kStopWaitMs = 1000;

    NetStream(const char* url, HWND notifyWindow);
    static DWORD WINAPI Main(void* parameter);
    void Download();
    void CloseInternetHandles();

    RingBuffer m_buffer{kBufferBytes};
    char m_url[2048] = {};
    HWND m_window = nullptr;
    std::atomic<bool> m_stop = false;
    // The WinINet handles, taken by whoever closes them (the download thread or the destructor).
    std::atomic<void*> m_session = nullptr;
    std::atomic<void*> m_request = nullptr;
    std::atomic<bool> m_finished = false;
    HANDLE m_thread = nullptr;
};
