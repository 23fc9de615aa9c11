// The byte queue between the network download thread and the engine thread: one writer, one
// reader, a critical section of its own, and an event set on every write so that a reader can
// sleep while the network is slow.
#pragma once

#include <windows.h>

#include <cstddef>

class RingBuffer {
public:
    explicit RingBuffer(DWORD size);
    ~RingBuffer();
    RingBuffer(const RingBuffer&) = delete;
    RingBuffer& operator=(const RingBuffer&) = delete;

    // Releases the block early; every later operation sees an empty, ended stream.
    void Free();
    // Copies what fits; the count copied. One byte always stays unused, so that a full buffer
    // never looks like an empty one.
    DWORD Write(const void* data, DWORD bytes);
    // Waits (in slices of at most 3,000 ms) until bytes are there, the stream ends, or a wait
    // times out; then returns the count copied, possibly fewer than asked for.
    DWORD Read(void* data, DWORD bytes);
    // Copies up to bytes of what is there without taking it out and without waiting.
    DWORD Peek(void* data, DWORD bytes);
    void Flush();
    DWORD UsedSpace();
    DWORD FreeSpace();
    void SetEndOfStream();
    // True once the writer has ended and everything written has been read.
    bool IsEndOfStream();

    DWORD Size() const { return m_size; }

private:
    DWORD UsedLocked() const;
    DWORD CopyOutLocked(BYTE* data, DWORD bytes, bool take = true);

    CRITICAL_SECTION m_lock;
    HANDLE m_written = nullptr;
    BYTE* m_block = nullptr;
    DWORD m_size = 0;
    DWORD m_read = 0;
    DWORD m_write = 0;
    bool m_ended = false;
};
