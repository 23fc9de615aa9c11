// CD-TEXT from the lead-in the virtual recorder captured: the sub-channel blocks, their packs and
// the text items they carry into the per-track table.
#pragma once

#include "capture/DiscTrackInfo.h"

#include <cstdint>
#include <span>

// One lead-in sector of the capture file: one sub-channel symbol a byte.
constexpr int kSubchannelBlockSize = 96;
constexpr int kPackTextSize = 12;
// However long the lead-in, no more packs than this are read.
constexpr int kMaxLeadInPacks = 5000;

enum CdTextPackType : uint8_t {
    kPackTitle = 0x80,
    kPackPerformer = 0x81,
    kPackSongwriter = 0x82,
    kPackComposer = 0x83,
    kPackGenre = 0x87,
};

struct CdTextPack {
    uint8_t type;  // 0x80 and above: CD-TEXT
    uint8_t track; // track of the first character in this pack, 0 = the disc
    uint8_t sequence;
    uint8_t blockInfo; // bits 4 to 6: the block (language) number
    uint8_t text[kPackTextSize];
    uint8_t crc[2];

    int BlockNumber() const { return (blockInfo >> 4) & 0x07; }
};

struct SubchannelBlock {
    CdTextPack packs[4];
};

static_assert(sizeof(CdTextPack) == 18);
static_assert(sizeof(SubchannelBlock) == 72);

// The R-W bits of the 96 symbols, four symbols giving three bytes; the P and Q bits are dropped.
SubchannelBlock DecodeSubchannelBlock(std::span<const uint8_t, kSubchannelBlockSize> symbols);

// Zeroes the whole table (and count), then stores the CD-TEXT items of the lead-in file: titles,
// performers, songwriters, composers and genres of block 0. A genre item is its two-byte code and
// its text; an empty text gives the code's standard name. Tracks without a performer or genre of
// their own get the disc's. count becomes the highest track a title was stored for. 0 when the
// file cannot be opened, else 1.
int ParseLeadIn(const char* path, DiscTrackInfo* table, int* count);

// Puts one text item into the field of table[track] that the pack type names, cut to the field's
// size; a later item overwrites only as many characters as it has. Empty items, one-character
// genres, types without a field and tracks outside the table are dropped. True when stored.
bool StoreCdText(DiscTrackInfo* table, const char* text, int track, uint8_t packType);
