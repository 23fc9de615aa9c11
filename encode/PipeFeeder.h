// The feeder side of the pipeline: a thread that copies a captured WAV's PCM into the pipe the
// encoder thread reads.
#pragma once

#include "app/framework/WorkerThread.h"

#include <windows.h>

struct PipeFeederParams {
    HANDLE pipeWrite;  // write end of the main pipe
    HANDLE abortEvent; // set to stop
    HANDLE doneEvent;  // set when the feeder ends
    char sourcePath[MAX_PATH];
    HANDLE secondPipeWrite; // write end of the second pipe (WMA two-pass), else null
};

class PipeFeeder {
public:
    virtual ~PipeFeeder() = default;
    virtual int Start(const PipeFeederParams& params) = 0;
};

class WavPipeFeeder : public PipeFeeder {
public:
    WavPipeFeeder();
    // Waits for the thread: the feeder never outlives its object.
    ~WavPipeFeeder() override;

    // 0 when a handle or the source path is missing or the source is not a .wav; otherwise
    // copies the parameters, starts the thread and returns 1.
    int Start(const PipeFeederParams& params) override;

    // Waits for the thread to end.
    void Join() const { m_thread.Join(); }
    // The ended thread's exit code; 0xFFFFFFFF when it never started.
    DWORD ExitCode() const { return m_thread.ExitCode(); }

    // Thread exit codes.
    static constexpr unsigned kDone = 0;
    static constexpr unsigned kNoSource = 2;
    static constexpr unsigned kSourceUnreadable = 3;
    // The source failed part-way, or the encoder stopped taking data: not every byte went on.
    static constexpr unsigned kStoppedEarly = 5;

private:
    static unsigned __stdcall ThreadProc(void* feeder);
    unsigned Run();
    unsigned End(unsigned exitCode);

    PipeFeederParams m_params;
    CWorkerThread m_thread;
};
