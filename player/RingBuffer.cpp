#include "player/RingBuffer.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr DWORD kReadWaitSliceMs = 3000;
}

RingBuffer::RingBuffer(DWORD size) : m_size(size) {
    InitializeCriticalSection(&m_lock);
    m_written = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_block = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, size));
    if (m_block == nullptr) {
        m_size = 0;
        m_ended = true;
    }
}

RingBuffer::~RingBuffer() {
    Free();
    if (m_written != nullptr) {
        CloseHandle(m_written);
    }
    DeleteCriticalSection(&m_lock);
}

void RingBuffer::Free() {
    EnterCriticalSection(&m_lock);
    if (m_block != nullptr) {
        HeapFree(GetProcessHeap(), 0, m_block);
        m_block = nullptr;
    }
    m_size = 0;
    m_read = m_write = 0;
    m_ended = true;
    LeaveCriticalSection(&m_lock);
    SetEvent(m_written);
}

DWORD RingBuffer::UsedLocked() const {
    return m_write >= m_read ? m_write - m_read : m_size - m_read + m_write;
}

DWORD RingBuffer::FreeSpace() {
    EnterCriticalSection(&m_lock);
    DWORD free;
    if (m_write < m_read) {
        free = m_read - m_write - 1;
    } else if (m_write > m_read) {
        free = m_size - m_write + m_read - 1;
    } else {
        free = m_size;
    }
    LeaveCriticalSection(&m_lock);
    return free;
}

DWORD RingBuffer::UsedSpace() {
    EnterCriticalSection(&m_lock);
    DWORD used = UsedLocked();
    LeaveCriticalSection(&m_lock);
    return used;
}

DWORD RingBuffer::Write(const void* data, DWORD bytes) {
    const BYTE* source = static_cast<const BYTE*>(data);
    EnterCriticalSection(&m_lock);
    DWORD room = m_size == 0 ? 0 : m_size - 1 - UsedLocked();
    DWORD count = std::min(bytes, room);
    DWORD first = std::min(count, m_size - m_write);
    if (count > 0) {
        memcpy(m_block + m_write, source, first);
        memcpy(m_block, source + first, count - first);
        m_write = (m_write + count) % m_size;
    }
    LeaveCriticalSection(&m_lock);
    SetEvent(m_written);
    return count;
}

DWORD RingBuffer::CopyOutLocked(BYTE* data, DWORD bytes, bool take) {
    DWORD count = std::min(bytes, UsedLocked());
    DWORD first = std::min(count, m_size - m_read);
    if (count > 0) {
        memcpy(data, m_block + m_read, first);
        memcpy(data + first, m_block, count - first);
        if (take) {
            m_read = (m_read + count) % m_size;
        }
    }
    return count;
}

DWORD RingBuffer::Peek(void* data, DWORD bytes) {
    EnterCriticalSection(&m_lock);
    DWORD count = CopyOutLocked(static_cast<BYTE*>(data), bytes, false);
    LeaveCriticalSection(&m_lock);
    return count;
}

DWORD RingBuffer::Read(void* data, DWORD bytes) {
    BYTE* target = static_cast<BYTE*>(data);
    DWORD done = 0;
    for (;;) {
        EnterCriticalSection(&m_lock);
        done += CopyOutLocked(target + done, bytes - done);
        bool ended = m_ended && UsedLocked() == 0;
        LeaveCriticalSection(&m_lock);
        if (done == bytes || ended) {
            return done;
        }
        if (WaitForSingleObject(m_written, kReadWaitSliceMs) == WAIT_TIMEOUT) {
            EnterCriticalSection(&m_lock);
            done += CopyOutLocked(target + done, bytes - done);
            LeaveCriticalSection(&m_lock);
            return done;
        }
    }
}

void RingBuffer::Flush() {
    EnterCriticalSection(&m_lock);
    m_read = m_write = 0;
    LeaveCriticalSection(&m_lock);
}

void RingBuffer::SetEndOfStream() {
    EnterCriticalSection(&m_lock);
    m_ended = true;
    LeaveCriticalSection(&m_lock);
    SetEvent(m_written);
}

bool RingBuffer::IsEndOfStream() {
    EnterCriticalSection(&m_lock);
    bool ended = m_ended && UsedLocked() == 0;
    LeaveCriticalSection(&m_lock);
    return ended;
}
