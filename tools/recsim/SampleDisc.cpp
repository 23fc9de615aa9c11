#include "tools/recsim/SampleDisc.h"

#include "tools/recsim/SampleAudio.h"

#include <cmath>

namespace recsim {
namespace {

struct SampleTrack {
    TextSet text;
    uint32_t pregapFrames;
};

// Plain ASCII, each text different, so that a reader's output can be compared word for word; the
// titles run over several packs each.
const TextSet kDiscText = {"Harbour Lights Suite",
                           "The Quayside Ensemble",
                           "Harbour Songwriters Guild",
                           "Harbour Composers Circle",
                           "",
                           "A sample disc from the recorder simulator",
                           "Easy Listening"};
const SampleTrack kTracks[] = {
    {{"Morning Tide Over Pier Seven", "Ada Lovelock Trio", "Mira Castellan", "Otto Brandvik", "",
      "First light on the water", "Jazz"},
     2 * kFramesPerSecond},
    {{"Lanterns on the Breakwater", "Ben Okafor Quartet", "Ines Varga", "Tomas Feld", "",
      "Recorded live at dusk", "Classical"},
     kFramesPerSecond},
    {{"Last Ferry to Saltmarsh", "Clara Wendt and the Gulls", "Petra Holm", "Jonas Ruiz", "",
      "Encore for the night crew", "Folk"},
     kFramesPerSecond + kFramesPerSecond / 3},
};
constexpr uint32_t kLengthStep = kFramesPerSecond / 5;

} // namespace

Disc MakeSampleDisc(double trackSeconds) {
    Disc disc;
    disc.text = kDiscText;
    uint32_t frames = static_cast<uint32_t>(std::lround(trackSeconds * kFramesPerSecond));
    for (size_t index = 0; index < std::size(kTracks); ++index) {
        Track track;
        track.text = kTracks[index].text;
        track.pregapFrames = kTracks[index].pregapFrames;
        track.frames = frames + static_cast<uint32_t>(index) * kLengthStep;
        track.audio = std::make_shared<SampleAudio>(index);
        disc.tracks.push_back(std::move(track));
    }
    return disc;
}

} // namespace recsim
