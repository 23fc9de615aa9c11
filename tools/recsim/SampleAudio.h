// Music made up on the spot for the built-in sample disc: a chord pad, a bass on the beat and an
// arpeggio, each voice rich in harmonics and shaped by note envelopes. The same bytes on every
// run, a different piece for every track.
#pragma once

#include "tools/recsim/Disc.h"

namespace recsim {

class SampleAudio : public AudioSource {
public:
    explicit SampleAudio(size_t piece);

    // Reads whole stereo sample frames: offset and out.size() are multiples of four.
    void Read(uint64_t offset, std::span<uint8_t> out) override;

private:
    struct Style {
        int rootNote;
        double beatsPerMinute;
        // One chord per bar, as semitones above the root.
        std::array<std::array<int, 3>, 4> chords;
    };
    static const Style kStyles[];

    const Style& m_style;
};

} // namespace recsim
