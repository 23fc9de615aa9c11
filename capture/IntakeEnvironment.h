// What the capture intake asks of the system: the millisecond clock, whether a path exists, and
// deleting a burn folder. Tests replace it to drive the queue rules without waiting or disks.
#pragma once

#include <windows.h>

#include <string>

class IntakeEnvironment {
public:
    virtual ~IntakeEnvironment() = default;
    virtual DWORD TickCount() const { return GetTickCount(); }
    virtual DWORD FileAttributes(const std::string& path) const { return GetFileAttributesA(path.c_str()); }
    virtual void DeleteSessionFolder(const std::string& folder) const;
};
