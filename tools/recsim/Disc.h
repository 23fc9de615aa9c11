// A disc as the burning application hands it to the recorder: its CD-TEXT, the layout of its
// tracks and where each track's audio comes from.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace recsim {

inline constexpr uint32_t kFramesPerSecond = 75;
inline constexpr uint32_t kBytesPerFrame = 2352;
inline constexpr uint32_t kBytesPerSecond = kFramesPerSecond * kBytesPerFrame;
// A disc needs at least this much pause before its first track.
inline constexpr uint32_t kFirstTrackPregap = 2 * kFramesPerSecond;
inline constexpr size_t kMaxTracks = 99;

// The CD-TEXT items of the disc or of one track, in the order of their pack types (0x80 to 0x85,
// then the genre, 0x87).
enum TextItem { kTitle, kPerformer, kSongwriter, kComposer, kArranger, kMessage, kGenre, kTextItemCount };
using TextSet = std::array<std::string, kTextItemCount>;

// A stream of CD audio (16-bit little-endian stereo at 44.1 kHz) read from any byte offset.
class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual void Read(uint64_t offset, std::span<uint8_t> out) = 0;
};

struct Track {
    TextSet text;
    uint32_t pregapFrames = 0;
    // The host sends the pregap's audio, rather than the recorder generating a pause.
    bool pregapHasAudio = false;
    // From index 1 to the next track's index 0 (or the lead-out): what the track's WAV holds.
    uint32_t frames = 0;
    std::shared_ptr<AudioSource> audio;
    uint64_t audioOffset = 0;
};

struct Disc {
    TextSet text;
    std::vector<Track> tracks;
};

// Absolute times in frames, counted from the first track's index 0 (00:00:00 on the disc).
struct TrackPosition {
    uint32_t index0;
    uint32_t index1;
};
std::vector<TrackPosition> TrackPositions(const Disc& disc);
uint32_t LeadOutPosition(const Disc& disc);

// Refuses a disc without tracks, with more than 99 or longer than the 99:59:74 that the time fields hold.
void CheckDiscFits(const Disc& disc);

} // namespace recsim
