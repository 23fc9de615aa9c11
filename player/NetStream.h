// "http:" paths: a download thread reads the stream through WinINet into a ring buffer, and a
// decoder record of its own plays the PCM WAV stream that arrives there.
#pragma once

#include "player/Modules.h"
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

// The decoder of network paths: a RIFF WAVE stream of PCM, its length unknown until it ends.
void InitNetStreamCodec(CodecModule* module);
