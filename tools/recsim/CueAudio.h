// The audio of a cue sheet's FILE lines as one stream: each WAV file's samples in turn, each
// padded with silence to whole sectors as a burner pads them.
#pragma once

#include "tools/recsim/Disc.h"
#include "tools/recsim/Files.h"

#include <cstdint>
#include <string>
#include <vector>

namespace recsim {

class CueAudio : public AudioSource {
public:
    // Opens a WAV file, refuses anything but 16-bit stereo 44.1 kHz PCM, and appends its samples.
    // Returns the frame at which the file starts in the stream.
    uint64_t AppendWav(const std::string& path);
    // The stream's length in frames, the last file's partial sector counted whole.
    uint64_t Frames() const { return m_bytes / kBytesPerFrame; }

    void Read(uint64_t offset, std::span<uint8_t> out) override;

private:
    struct Segment {
        std::string path;
        ScopedFile file;
        uint64_t dataOffset;
        uint64_t dataBytes;
        uint64_t streamStart;
    };
    std::vector<Segment> m_segments;
    uint64_t m_bytes = 0;
};

} // namespace recsim
