#include "tools/recsim/CueAudio.h"

#include "tools/recsim/Errors.h"

#include <algorithm>
#include <cstring>

namespace recsim {
namespace {

constexpr uint16_t kPcmFormat = 1;
constexpr uint16_t kCdChannels = 2;
constexpr uint32_t kCdSampleRate = 44100;
constexpr uint16_t kCdBitsPerSample = 16;

uint32_t Le32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

uint16_t Le16(const uint8_t* bytes) {
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

struct WavData {
    uint64_t offset = 0;
    uint64_t bytes = 0;
};

// Walks the RIFF chunks for the format and the samples; a data chunk that claims more than the
// file holds is cut to what is there.
WavData FindCdAudio(HANDLE file, const std::string& path) {
    uint64_t size = FileSize(file, path);
    uint8_t riff[12];
    if (size < sizeof riff) {
        throw RecsimError(path + " is not a WAV file");
    }
    ReadAt(file, path, 0, riff);
    if (memcmp(riff, "RIFF", 4) != 0 || memcmp(riff + 8, "WAVE", 4) != 0) {
        throw RecsimError(path + " is not a WAV file");
    }
    bool haveFormat = false;
    WavData data;
    bool haveData = false;
    for (uint64_t position = sizeof riff; position + 8 <= size && !(haveFormat && haveData);) {
        uint8_t header[8];
        ReadAt(file, path, position, header);
        uint64_t chunkBytes = Le32(header + 4);
        if (memcmp(header, "fmt ", 4) == 0) {
            uint8_t format[16];
            if (chunkBytes < sizeof format || position + 8 + sizeof format > size) {
                throw RecsimError(path + " has a broken fmt chunk");
            }
            ReadAt(file, path, position + 8, format);
            uint16_t tag = Le16(format);
            uint16_t channels = Le16(format + 2);
            uint32_t rate = Le32(format + 4);
            uint16_t bits = Le16(format + 14);
            if (tag != kPcmFormat || channels != kCdChannels || rate != kCdSampleRate ||
                bits != kCdBitsPerSample) {
                throw RecsimError(path + " holds " + std::to_string(bits) + "-bit " +
                                  std::to_string(channels) + "-channel " + std::to_string(rate) +
                                  " Hz audio in format " + std::to_string(tag) +
                                  "; only 16-bit stereo 44.1 kHz PCM can be burned");
            }
            haveFormat = true;
        } else if (memcmp(header, "data", 4) == 0) {
            data.offset = position + 8;
            data.bytes = std::min(chunkBytes, size - data.offset);
            haveData = true;
        }
        // Chunks start on even offsets.
        position += 8 + chunkBytes + (chunkBytes & 1);
    }
    if (!haveFormat || !haveData) {
        throw RecsimError(path + " has no " + (haveFormat ? "data" : "fmt") + " chunk");
    }
    return data;
}

} // namespace

uint64_t CueAudio::AppendWav(const std::string& path) {
    ScopedFile file = OpenForReading(path);
    WavData data = FindCdAudio(file.Get(), path);
    uint64_t start = m_bytes;
    m_segments.push_back({path, std::move(file), data.offset, data.bytes, start});
    uint64_t frames = (data.bytes + kBytesPerFrame - 1) / kBytesPerFrame;
    m_bytes += frames * kBytesPerFrame;
    return start / kBytesPerFrame;
}

void CueAudio::Read(uint64_t offset, std::span<uint8_t> out) {
    std::fill(out.begin(), out.end(), uint8_t{0});
    uint64_t end = offset + out.size();
    for (Segment& segment : m_segments) {
        uint64_t from = std::max(offset, segment.streamStart);
        uint64_t to = std::min(end, segment.streamStart + segment.dataBytes);
        if (from < to) {
            ReadAt(segment.file.Get(), segment.path, segment.dataOffset + (from - segment.streamStart),
                   out.subspan(from - offset, to - from));
        }
    }
}

} // namespace recsim
