#include "capture/CueSheet.h"

#include "app/framework/Scoped.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

constexpr size_t kEntrySize = 8;
constexpr DWORD kReadLimit = 10240;
constexpr int kLeadOutTrack = 0xAA;
constexpr int kNoTrack = -1;

uint32_t AbsoluteFrames(const uint8_t* entry) {
    return (entry[5] * 60u + entry[6]) * 75u + entry[7];
}

// Times that run backwards in a damaged cue sheet give an empty span, not one of four billion.
uint32_t FramesBetween(uint32_t from, uint32_t to) {
    return to > from ? to - from : 0;
}

} // namespace

int ParseCueSheet(const char* path, CueTrackTime* times, int* count) {
    std::memset(times, 0, sizeof(CueTrackTime) * kMaxCueTracks);
    *count = 0;
    std::array<uint8_t, kReadLimit> bytes;
    DWORD read = 0;
    {
        ScopedFileHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !ReadFile(file.Get(), bytes.data(), kReadLimit, &read, nullptr) || read == 0) {
            return 0;
        }
    }
    int maxTrack = 0;
    int previous = kNoTrack;
    for (size_t offset = 0; offset + kEntrySize <= read; offset += kEntrySize) {
        const uint8_t* entry = bytes.data() + offset;
        int track = entry[1];
        if (previous == kLeadOutTrack) {
            break;
        }
        bool isTrack = track >= 1 && track <= kMaxCueTracks;
        if (!isTrack && track != kLeadOutTrack) {
            // The lead-in, and numbers no track can have.
            continue;
        }
        uint32_t frames = AbsoluteFrames(entry);
        if (isTrack) {
            maxTrack = std::max(maxTrack, track);
            CueTrackTime& time = times[track - 1];
            // A further index entry of the same track: the span since the one before is pregap.
            time.pregap = previous == track ? FramesBetween(time.start, frames) : 0;
            time.minute = entry[5];
            time.second = entry[6];
            time.frame = entry[7];
            time.start = frames;
        }
        if (previous != kNoTrack) {
            times[previous - 1].length = FramesBetween(AbsoluteFrames(entry - kEntrySize), frames);
        }
        previous = track;
    }
    *count = maxTrack;
    return 1;
}
