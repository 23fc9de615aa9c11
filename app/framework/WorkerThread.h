// A worker thread that runs one procedure; its handle stays valid until the object goes, so an
// owner can always wait for the thread to end.
#pragma once

#include "app/framework/Scoped.h"

#include <windows.h>

class CWorkerThread {
public:
    using Procedure = unsigned(__stdcall*)(void* parameter);

    CWorkerThread() = default;
    ~CWorkerThread();
    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

    // Starts the thread at once with normal priority and the default stack; false when the
    // system refuses.
    bool Start(Procedure procedure, void* parameter);
    HANDLE Handle() const { return m_handle.Get(); }
    bool IsStarted() const { return m_handle.IsValid(); }
    // Waits without time-out for the thread to end.
    void Join() const;
    // The ended thread's exit code; STILL_ACTIVE while it runs, 0xFFFFFFFF when never started.
    DWORD ExitCode() const;

private:
    ScopedHandle m_handle;
};
