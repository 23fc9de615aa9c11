#include "tools/recsim/WavWriter.h"

#include "tools/recsim/Files.h"

#include <array>
#include <vector>

namespace recsim {
namespace {

// 32 sectors a write: about nine writes a second at 4x, a hundred and twenty at 52x.
constexpr size_t kFramesPerWrite = 32;
constexpr size_t kHeaderBytes = 44;

void Put16(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>(value >> 8 & 0xFF);
}

void Put32(uint8_t* at, uint32_t value) {
    Put16(at, value & 0xFFFF);
    Put16(at + 2, value >> 16);
}

// A canonical PCM header: a 16-byte fmt chunk for 16-bit stereo at 44.1 kHz, then the data chunk.
std::array<uint8_t, kHeaderBytes> WavHeader(uint32_t dataBytes) {
    std::array<uint8_t, kHeaderBytes> header{
        'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 0,   0,   0, 0, 0, 0,
        0,   0,   0,   0,   0, 0, 0, 0, 0,   0,   0,   0,   0,   0,   'd', 'a', 't', 'a', 0, 0, 0, 0};
    Put32(&header[4], kHeaderBytes - 8 + dataBytes);
    Put32(&header[16], 16);
    Put16(&header[20], 1);
    Put16(&header[22], 2);
    Put32(&header[24], 44100);
    Put32(&header[28], kBytesPerSecond);
    Put16(&header[32], 4);
    Put16(&header[34], 16);
    Put32(&header[40], dataBytes);
    return header;
}

} // namespace

void WriteTrackWav(const std::string& path, const Track& track, WritePacer& pacer,
                   std::optional<double> pauseSeconds) {
    OutputFile file(path);
    uint64_t total = uint64_t{track.frames} * kBytesPerFrame;
    uint64_t half = uint64_t{track.frames / 2} * kBytesPerFrame;
    file.Write(WavHeader(static_cast<uint32_t>(total)));
    std::vector<uint8_t> buffer(kFramesPerWrite * kBytesPerFrame);
    for (uint64_t done = 0; done < total;) {
        if (pauseSeconds && done == half) {
            pacer.Pause(*pauseSeconds);
            pauseSeconds.reset();
        }
        // A pause to come ends the piece at the middle sector.
        uint64_t until = pauseSeconds && done < half ? half : total;
        std::span<uint8_t> piece(buffer.data(),
                                 static_cast<size_t>(std::min<uint64_t>(buffer.size(), until - done)));
        track.audio->Read(track.audioOffset + done, piece);
        file.Write(piece);
        pacer.Written(piece.size());
        done += piece.size();
    }
}

} // namespace recsim
