// What the program's own encoders (WAV and MP3) share: the start checks, the thread, the common
// read loop over the pipe, and the closing steps that report the track.
#pragma once

#include "app/framework/WorkerThread.h"
#include "companions/AudioTagCore/AudioEncoder.h"
#include "companions/AudioTagCore/EncodeWorkParam.h"

#include <functional>
#include <string>
#include <vector>

class PipelineEncoder : public CAudioEncoder {
public:
    // Refuses (0, no thread) when not ready, when the read end, the abort event or the output
    // path is missing, or when the source format is not one IsFormatSupported takes; otherwise
    // copies the record (channels other than 1 become 2, a sample rate of 0 becomes 44,100),
    // starts the thread and returns 1.
    int StartEncode(_AUDIO_ENCODE_WORK_PARAM* work) override;

    // Whether this encoder can take a source of this format. A header may claim anything; what
    // an encoder cannot take must be refused before its thread starts, as the MP3 library
    // answers a rate it has no frame for by ending the process.
    virtual bool IsFormatSupported(const WAVEFORMATEX& format) const = 0;

    // The exit code of a thread that wrote its whole output; every other code says what failed.
    static constexpr unsigned kDone = 0;
    // Waits for the thread to end (derived destructors call it before their members go).
    void Join() { m_thread.Join(); }
    // The ended thread's exit code; 0xFFFFFFFF when it never started.
    DWORD ExitCode() const { return m_thread.ExitCode(); }

protected:
    PipelineEncoder() = default;
    // Waits for the thread, so that an encoder never goes while its thread still runs.
    ~PipelineEncoder() override;

    // What both of the program's own encoders take: PCM of 1 or 2 channels, 8 or 16 bits, in
    // frames of the size those give.
    static bool IsPlainPcm(const WAVEFORMATEX& format);

    // The encoder thread's work; returns its exit code. It ends with FinishThread.
    virtual unsigned RunThread() = 0;

    // The common loop: progress before every chunk, then stop on abort, on reaching the data
    // size, or at the end of the pipe; each chunk read (whole, or what the last read gave) goes to
    // encode, which returns false to leave the loop.
    void RunLoop(BYTE* chunk, DWORD chunkBytes,
                 const std::function<bool(const BYTE* pcm, DWORD bytes)>& encode);

    // Closing steps every run takes: the last progress message, closing the read end of the pipe
    // (logged with errorFormat on failure).
    void PostFinalProgress();
    void CloseReadPipe(const char* errorFormat);
    // Reports the track and ends the run: WM_TRACK_ENCODED, the record cleared, the done event
    // set. Returns the exit code for convenience.
    unsigned FinishThread(unsigned exitCode);

    _AUDIO_ENCODE_WORK_PARAM m_work;

private:
    static constexpr DWORD kReadAheadBytes = 256 * 1024;

    static unsigned __stdcall ThreadProc(void* encoder);

    CWorkerThread m_thread;
    std::vector<BYTE> m_readAhead = std::vector<BYTE>(kReadAheadBytes);
    DWORD m_readAheadPos = 0;
    DWORD m_readAheadEnd = 0;
};
