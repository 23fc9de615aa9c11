// Keeps one copy of the program per session. The first copy owns a small named shared block
// that holds its main window; a later copy finds the block, brings that window forward and ends.
#pragma once

#include "app/framework/Scoped.h"

#include <windows.h>

#include <string>

class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const char* instanceName);
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // Takes the named start-up mutex (waiting while another copy holds it) and keeps it, so the
    // check and the creation of the block are one step between copies started together.
    void LockStartup();
    bool HoldsStartupLock() const { return m_startupLock.IsLocked(); }

    // 1 when another copy's block exists.
    int PreviousInstanceExists() const;

    // Creates the block (content 0) and releases the start-up lock; 0 when another copy's
    // block exists or the block cannot be created.
    int CreateBlock();

    // Stores this copy's main window in the block for later copies to find.
    void PublishMainWindow(HWND window);

    // Brings the earlier copy's window forward (shown, restored, its last pop-up focused) and,
    // when text is given, sends it there as WM_COPYDATA with the tag. Returns the handle read
    // from the block, which may be 0 or no longer a window.
    HWND ActivatePrevious(const char* text, ULONG_PTR tag);

private:
    std::string BlockName() const { return "SIC_MMF_" + m_strInstanceName; }

    ScopedHandle m_blockMutex;
    ScopedHandle m_startupMutex;
    ScopedMutexLock m_startupLock;
    std::string m_strInstanceName;
    ScopedHandle m_block;
};
