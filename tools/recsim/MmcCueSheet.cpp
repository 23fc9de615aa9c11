#include "tools/recsim/MmcCueSheet.h"

namespace recsim {
namespace {

// Two-channel audio without copy permission or pre-emphasis; ADR 1 (a time point).
constexpr uint8_t kAudioControlAdr = 0x01;
constexpr uint8_t kLeadInTrack = 0x00;
constexpr uint8_t kLeadOutTrack = 0xAA;
// DATA FORM: audio sent by the host, or a pause the recorder generates; the lead-in's form says
// whether the host also sends CD-TEXT for its R-W sub-channel.
constexpr uint8_t kFormAudio = 0x00;
constexpr uint8_t kFormPause = 0x01;
constexpr uint8_t kFormLeadInCdText = 0x41;
constexpr uint8_t kNoScms = 0x00;

void AppendEntry(std::vector<uint8_t>& sheet, uint8_t track, uint8_t index, uint8_t form, uint32_t frames) {
    sheet.insert(sheet.end(), {kAudioControlAdr, track, index, form, kNoScms,
                               static_cast<uint8_t>(frames / (60 * kFramesPerSecond)),
                               static_cast<uint8_t>(frames / kFramesPerSecond % 60),
                               static_cast<uint8_t>(frames % kFramesPerSecond)});
}

} // namespace

std::vector<uint8_t> BuildMmcCueSheet(const Disc& disc, bool withCdText) {
    std::vector<uint8_t> sheet;
    AppendEntry(sheet, kLeadInTrack, 0, withCdText ? kFormLeadInCdText : kFormPause, 0);
    std::vector<TrackPosition> positions = TrackPositions(disc);
    for (size_t index = 0; index < disc.tracks.size(); ++index) {
        const Track& track = disc.tracks[index];
        uint8_t number = static_cast<uint8_t>(index + 1);
        if (track.pregapFrames > 0) {
            AppendEntry(sheet, number, 0, track.pregapHasAudio ? kFormAudio : kFormPause,
                        positions[index].index0);
        }
        AppendEntry(sheet, number, 1, kFormAudio, positions[index].index1);
    }
    AppendEntry(sheet, kLeadOutTrack, 1, kFormPause, LeadOutPosition(disc));
    return sheet;
}

} // namespace recsim
