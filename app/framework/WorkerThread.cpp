#include "app/framework/WorkerThread.h"

#include <process.h>

CWorkerThread::~CWorkerThread() {
    Join();
}

bool CWorkerThread::Start(Procedure procedure, void* parameter) {
    if (m_handle) {
        return false;
    }
    // _beginthreadex rather than CreateThread: the procedure uses the C runtime.
    uintptr_t handle = _beginthreadex(nullptr, 0, procedure, parameter, 0, nullptr);
    m_handle.Reset(reinterpret_cast<HANDLE>(handle));
    return m_handle.IsValid();
}

void CWorkerThread::Join() const {
    if (m_handle) {
        WaitForSingleObject(m_handle.Get(), INFINITE);
    }
}

DWORD CWorkerThread::ExitCode() const {
    DWORD code = 0xFFFFFFFF;
    if (!m_handle || !GetExitCodeThread(m_handle.Get(), &code)) {
        return 0xFFFFFFFF;
    }
    return code;
}
