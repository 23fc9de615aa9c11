#include "app/SingleInstanceGuard.h"

#include <cstring>

namespace {

constexpr DWORD kBlockSize = 4;

} // namespace

SingleInstanceGuard::SingleInstanceGuard(const char* instanceName)
    : m_blockMutex(CreateMutexA(nullptr, FALSE, nullptr)),
      m_startupMutex(CreateMutexA(nullptr, FALSE, instanceName)), m_strInstanceName(instanceName) {}

void SingleInstanceGuard::LockStartup() {
    if (m_startupMutex && !m_startupLock.IsLocked()) {
        m_startupLock.Lock(m_startupMutex.Get());
    }
}

int SingleInstanceGuard::PreviousInstanceExists() const {
    ScopedHandle block(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, BlockName().c_str()));
    return block ? 1 : 0;
}

int SingleInstanceGuard::CreateBlock() {
    if (PreviousInstanceExists() != 0) {
        return 0;
    }
    ScopedHandle block(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize,
                                          BlockName().c_str()));
    if (!block) {
        return 0;
    }
    {
        ScopedMapView view(MapViewOfFile(block.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
        if (!view) {
            return 0;
        }
        ScopedMutexLock lock(m_blockMutex.Get());
        std::memset(view.Get(), 0, kBlockSize);
    }
    m_block = std::move(block);
    m_startupLock.Unlock();
    return 1;
}

void SingleInstanceGuard::PublishMainWindow(HWND window) {
    ScopedHandle block(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, BlockName().c_str()));
    if (block) {
        ScopedMapView view(MapViewOfFile(block.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
        if (view) {
            ScopedMutexLock lock(m_blockMutex.Get());
            // Window handles are 32-bit values on every Windows, so four bytes carry one.
            auto value = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(window));
            std::memcpy(view.Get(), &value, kBlockSize);
        }
    }
    m_startupLock.Unlock();
}

HWND SingleInstanceGuard::ActivatePrevious(const char* text, ULONG_PTR tag) {
    ScopedHandle block(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, BlockName().c_str()));
    if (!block) {
        return nullptr;
    }
    ScopedMapView view(MapViewOfFile(block.Get(), FILE_MAP_ALL_ACCESS, 0, 0, kBlockSize));
    if (!view) {
        m_startupLock.Unlock();
        return nullptr;
    }
    DWORD value = 0;
    {
        ScopedMutexLock lock(m_blockMutex.Get());
        std::memcpy(&value, view.Get(), kBlockSize);
    }
    HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(value));
    if (window != nullptr && IsWindow(window)) {
        HWND popup = GetLastActivePopup(window);
        if (!IsWindowVisible(window)) {
            ShowWindow(window, SW_SHOWNORMAL);
        }
        if (IsIconic(window)) {
            ShowWindow(window, SW_RESTORE);
        }
        SetForegroundWindow(popup != nullptr ? popup : window);
        if (text != nullptr) {
            COPYDATASTRUCT data{tag, static_cast<DWORD>(strlen(text) + 1), const_cast<char*>(text)};
            SendMessageA(popup != nullptr ? popup : window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        }
    }
    m_startupLock.Unlock();
    return window;
}
