// The WMA encoder object the program runs each WMA track through. Like the program's own encoders
// it reads the track's PCM from the pipeline's pipe on a thread of its own, posts progress and one
// WM_TRACK_ENCODED, and sets the done event as its very last act. The program keeps one object for
// all tracks, one track at a time.
#pragma once

#include "companions/AudioTagCore/AudioEncoder.h"
#include "companions/AudioTagCore/EncodeWorkParam.h"
#include "companions/WmaEncodeCore/WmaFormatTable.h"

#include <windows.h>

#include <string>
#include <vector>

class CWmaEncoder : public CAudioEncoder {
public:
    CWmaEncoder();
    // Waits for a thread still running.
    ~CWmaEncoder() override;

    // Refuses (0, no thread) when the read end, the abort event or the output path is missing,
    // or when the source is not PCM of 1 or 2 channels, 8 or 16 bits at 8,000 to 192,000 Hz.
    // Otherwise takes the codec and format chosen in the manager (the default without one), copies
    // the record, starts the thread and returns 1. A track still finishing is waited for first.
    int StartEncode(_AUDIO_ENCODE_WORK_PARAM* work) override;
    // 1: FFmpeg's WMA encoders are built in.
    int IsReady() override;

private:
    static unsigned __stdcall ThreadProc(void* encoder);
    unsigned Run();
    void Join();

    // The first pass of a two-pass track: read to its end and dropped, since no format here needs
    // it, but read all the same: the feeder fills it first and would wait for ever on a full pipe.
    void SkipSecondPipe();
    // Until the pipe breaks, the data size is reached, the abort event is set or encode refuses
    // (returns false); progress before every chunk. True when the abort event stopped it.
    template <typename Encode> bool ReadPipe(DWORD chunkBytes, Encode encode);
    void PostProgress(DWORD done);
    void CloseReadPipes();
    // Reports the track, hands the outcome to the caller's record, sets the done event.
    unsigned Finish(unsigned exitCode);

    _AUDIO_ENCODE_WORK_PARAM m_work;
    _AUDIO_ENCODE_WORK_PARAM* m_caller = nullptr;
    WmaEncodeFormat m_format{};
    HANDLE m_thread = nullptr;
    std::vector<BYTE> m_readAhead;
};
