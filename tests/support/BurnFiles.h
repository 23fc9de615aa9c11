// The two files the virtual recorder's driver leaves beside the captured tracks, as bytes: the
// lead-in's sub-channel with its CD-TEXT packs, and the cue sheet's SEND CUE SHEET entries.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qvltest {

// One CD-TEXT pack: type, track, sequence, block, 12 text bytes, CRC.
using CdTextPackBytes = std::array<uint8_t, 18>;

CdTextPackBytes MakePack(uint8_t type, uint8_t track, std::string_view text, uint8_t blockInfo = 0);

// A size-information pack of zeros: fills a block without storing anything.
CdTextPackBytes FillerPack();

// The lead-in as the recorder captures it: four packs a block, every three bytes spread over four
// six-bit symbols, with the P and Q bits of the symbols set as real sub-channel data has them.
std::string LeadInBytes(std::vector<CdTextPackBytes> packs);

// The packs of one type as a burner writes them: the items (the disc first, then tracks 1, 2, ...)
// run on from pack to pack, and each pack names the track of its first character.
std::vector<CdTextPackBytes> TextPacks(uint8_t type, const std::vector<std::string>& items);

std::vector<CdTextPackBytes> Concat(std::initializer_list<std::vector<CdTextPackBytes>> parts);

inline constexpr uint8_t kCueLeadOut = 0xAA;

// One SEND CUE SHEET entry: control/address, track, index, data form, copy management, M, S, F.
std::string CueEntry(uint8_t track, uint8_t index, uint8_t minute, uint8_t second, uint8_t frame);

} // namespace qvltest
