// The workers' test of the abort event between blocks. A zero-time-out wait is a round trip to
// the system that can cost more than the block itself, so the event is asked at most every few
// milliseconds; an abort is still seen within a few milliseconds.
#pragma once

#include <windows.h>

class AbortWatch {
public:
    static constexpr DWORD kInterval = 15;

    explicit AbortWatch(HANDLE abortEvent) : m_event(abortEvent), m_last(GetTickCount() - kInterval) {}

    bool Aborted() {
        if (GetTickCount() - m_last < kInterval) {
            return false;
        }
        m_last = GetTickCount();
        return WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0;
    }

private:
    HANDLE m_event;
    DWORD m_last;
};
