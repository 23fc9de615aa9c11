#include "tools/recsim/LeadIn.h"

#include "tools/recsim/Crc16.h"

#include <algorithm>
#include <array>

namespace recsim {
namespace {

constexpr size_t kPacksPerBlock = 4;
constexpr size_t kSymbolsPerPack = kPackBytes / 3 * 4;
// At least two seconds of lead-in.
constexpr size_t kMinLeadInBlocks = 2 * kFramesPerSecond;
constexpr uint8_t kPFlag = 0x80;
constexpr uint8_t kQBit = 0x40;
constexpr uint8_t kAudioTocControlAdr = 0x01;
// Each table-of-contents entry is repeated on three sectors running.
constexpr size_t kTocRepeats = 3;

using QFrame = std::array<uint8_t, 12>;
using BcdTime = std::array<uint8_t, 3>;
// Where a Q frame holds the running time and the point's time (MIN, SEC, FRAME each).
constexpr size_t kRunningTimeAt = 3;
constexpr size_t kPointTimeAt = 7;

uint8_t Bcd(uint32_t value) {
    return static_cast<uint8_t>((value / 10) << 4 | value % 10);
}

BcdTime ToBcdTime(uint32_t frames) {
    return {Bcd(frames / (60 * kFramesPerSecond)), Bcd(frames / kFramesPerSecond % 60),
            Bcd(frames % kFramesPerSecond)};
}

// The lead-in's Q channel: a mode-1 entry per track (its start), then A0 (first track), A1 (last
// track) and A2 (lead-out start). The running time is filled in per sector.
std::vector<QFrame> TocEntries(const Disc& disc) {
    std::vector<QFrame> entries;
    auto add = [&entries](uint8_t point, const BcdTime& time) {
        QFrame frame{};
        frame[0] = kAudioTocControlAdr;
        frame[2] = point;
        std::copy(time.begin(), time.end(), frame.begin() + kPointTimeAt);
        entries.insert(entries.end(), kTocRepeats, frame);
    };
    std::vector<TrackPosition> positions = TrackPositions(disc);
    for (size_t index = 0; index < positions.size(); ++index) {
        add(Bcd(static_cast<uint32_t>(index + 1)), ToBcdTime(positions[index].index1));
    }
    add(0xA0, {Bcd(1), 0x00, 0x00});
    add(0xA1, {Bcd(static_cast<uint32_t>(disc.tracks.size())), 0x00, 0x00});
    add(0xA2, ToBcdTime(LeadOutPosition(disc)));
    return entries;
}

// Three pack bytes become four six-bit symbols, most significant bits first.
void StoreRwSymbols(const CdTextPack& pack, uint8_t* symbols) {
    for (size_t byte = 0; byte < kPackBytes; byte += 3) {
        uint32_t group = uint32_t{pack[byte]} << 16 | uint32_t{pack[byte + 1]} << 8 | pack[byte + 2];
        for (int symbol = 0; symbol < 4; ++symbol) {
            *symbols++ = static_cast<uint8_t>(group >> (18 - 6 * symbol) & 0x3F);
        }
    }
}

} // namespace

std::vector<uint8_t> BuildLeadIn(const Disc& disc, const std::vector<CdTextPack>& packs) {
    size_t blocks = kMinLeadInBlocks;
    if (!packs.empty()) {
        // A multiple of four cycles always ends on a block boundary.
        size_t cycles = kPacksPerBlock * ((kMinLeadInBlocks + packs.size() - 1) / packs.size());
        blocks = cycles * packs.size() / kPacksPerBlock;
    }
    std::vector<QFrame> toc = TocEntries(disc);
    std::vector<uint8_t> leadIn(blocks * kSubchannelBlockBytes);
    for (size_t block = 0; block < blocks; ++block) {
        uint8_t* symbols = &leadIn[block * kSubchannelBlockBytes];
        if (!packs.empty()) {
            for (size_t slot = 0; slot < kPacksPerBlock; ++slot) {
                StoreRwSymbols(packs[(block * kPacksPerBlock + slot) % packs.size()],
                               symbols + slot * kSymbolsPerPack);
            }
        }
        QFrame q = toc[block % toc.size()];
        BcdTime running = ToBcdTime(static_cast<uint32_t>(block));
        std::copy(running.begin(), running.end(), q.begin() + kRunningTimeAt);
        StoreInvertedCrc(q, q.size() - 2);
        for (size_t bit = 0; bit < kSubchannelBlockBytes; ++bit) {
            // P is the pause flag, up everywhere outside the music.
            symbols[bit] |= kPFlag;
            if ((q[bit / 8] >> (7 - bit % 8) & 1) != 0) {
                symbols[bit] |= kQBit;
            }
        }
    }
    return leadIn;
}

} // namespace recsim
