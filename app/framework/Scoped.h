// Owners for Win32 handles, locks and views: each releases what it holds exactly once.
#pragma once

#include <windows.h>

#include <utility>

// Traits give the "none" value and the release function of one kind of handle.
template <typename T, typename Traits> class ScopedResource {
    static T Empty() { return Traits::Empty(); }

public:
    ScopedResource() : m_value(Empty()) {}
    explicit ScopedResource(T value) : m_value(value) {}
    ~ScopedResource() { Reset(); }
    ScopedResource(const ScopedResource&) = delete;
    ScopedResource& operator=(const ScopedResource&) = delete;
    ScopedResource(ScopedResource&& other) noexcept : m_value(other.Release()) {}
    ScopedResource& operator=(ScopedResource&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    T Get() const { return m_value; }
    bool IsValid() const { return m_value != Empty(); }
    explicit operator bool() const { return IsValid(); }
    T Release() { return std::exchange(m_value, Empty()); }
    void Reset() { Reset(Empty()); }
    void Reset(T value) {
        if (m_value != Empty()) {
            Traits::Close(m_value);
        }
        m_value = value;
    }

private:
    T m_value;
};

template <typename T, auto Closer> struct NullTraits {
    static T Empty() { return nullptr; }
    static void Close(T value) { Closer(value); }
};
template <auto Closer> struct InvalidHandleTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE value) { Closer(value); }
};

inline void CloseKernelHandle(HANDLE h) {
    CloseHandle(h);
}
inline void CloseFind(HANDLE h) {
    FindClose(h);
}
inline void CloseKey(HKEY key) {
    RegCloseKey(key);
}
inline void CloseView(void* view) {
    UnmapViewOfFile(view);
}

// Kernel objects whose "none" is null (events, mutexes, mappings, threads, processes).
using ScopedHandle = ScopedResource<HANDLE, NullTraits<HANDLE, CloseKernelHandle>>;
// Handles whose "none" is INVALID_HANDLE_VALUE.
using ScopedFileHandle = ScopedResource<HANDLE, InvalidHandleTraits<CloseKernelHandle>>;
using ScopedFindHandle = ScopedResource<HANDLE, InvalidHandleTraits<CloseFind>>;
using ScopedRegKey = ScopedResource<HKEY, NullTraits<HKEY, CloseKey>>;
using ScopedMapView = ScopedResource<void*, NullTraits<void*, CloseView>>;

// Owns a critical section: initialised with the object, deleted with it. Declared before whatever
// uses it, it outlives them.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&m_section); }
    ~CriticalSection() { DeleteCriticalSection(&m_section); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    operator CRITICAL_SECTION&() { return m_section; }

private:
    CRITICAL_SECTION m_section;
};

// Holds a critical section for the lifetime of the object.
class ScopedLock {
public:
    explicit ScopedLock(CRITICAL_SECTION& section) : m_section(section) { EnterCriticalSection(&m_section); }
    ~ScopedLock() { LeaveCriticalSection(&m_section); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

// Holds a slim reader/writer lock exclusively for the lifetime of the object. The lock needs no
// clean-up (SRWLOCK_INIT is all), so a program-wide one is still there for a thread that runs on
// while the program exits.
class ScopedExclusiveLock {
public:
    explicit ScopedExclusiveLock(SRWLOCK& lock) : m_lock(lock) { AcquireSRWLockExclusive(&m_lock); }
    ~ScopedExclusiveLock() { ReleaseSRWLockExclusive(&m_lock); }
    ScopedExclusiveLock(const ScopedExclusiveLock&) = delete;
    ScopedExclusiveLock& operator=(const ScopedExclusiveLock&) = delete;

private:
    SRWLOCK& m_lock;
};

// Holds a mutex (named or not) once acquired; releases it on Unlock or destruction.
class ScopedMutexLock {
public:
    ScopedMutexLock() = default;
    explicit ScopedMutexLock(HANDLE mutex) { Lock(mutex); }
    ~ScopedMutexLock() { Unlock(); }
    ScopedMutexLock(const ScopedMutexLock&) = delete;
    ScopedMutexLock& operator=(const ScopedMutexLock&) = delete;

    // An abandoned mutex still gives us ownership: its previous owner died without releasing it.
    bool Lock(HANDLE mutex) {
        Unlock();
        DWORD result = WaitForSingleObject(mutex, INFINITE);
        if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
            m_mutex = mutex;
        }
        return m_mutex != nullptr;
    }
    void Unlock() {
        if (m_mutex != nullptr) {
            ReleaseMutex(std::exchange(m_mutex, nullptr));
        }
    }
    bool IsLocked() const { return m_mutex != nullptr; }

private:
    HANDLE m_mutex = nullptr;
};
