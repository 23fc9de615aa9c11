// What the capture intake asks of the system: the millisecond clock, whether a path exists, what
// a burn's cue sheet and captured WAVs say, and deleting a burn folder. Tests replace it to drive
// the queue rules without waiting or disks.
#pragma once

#include "capture/CueSheet.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class IntakeEnvironment {
public:
    virtual ~IntakeEnvironment() = default;
    virtual DWORD TickCount() const { return GetTickCount(); }
    virtual DWORD FileAttributes(const std::string& path) const { return GetFileAttributesA(path.c_str()); }
    virtual void DeleteSessionFolder(const std::string& folder) const;
    // The cue sheet of a burn folder into times (kMaxCueTracks records); the highest track
    // number, or 0 when there is no usable cue sheet.
    virtual int ReadCueSheet(const std::string& folder, CueTrackTime* times) const;
    // The PCM bytes a captured WAV holds so far, in whole frames; 0 when unreadable.
    virtual uint64_t WavDataBytes(const std::string& path) const;
    // True while another handle has the file open for writing: its writer is not done with it.
    virtual bool HeldByWriter(const std::string& path) const;
    // The full paths of the WAV files directly in folder, in name order.
    virtual std::vector<std::string> ListWavs(const std::string& folder) const;
    // The full paths of the folders directly in folder, in name order.
    virtual std::vector<std::string> ListFolders(const std::string& folder) const;
};
