#include "tools/recsim/CdTextPacks.h"

#include "tools/recsim/Crc16.h"
#include "tools/recsim/Errors.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace recsim {
namespace {

constexpr uint8_t kFirstTextType = 0x80;
constexpr uint8_t kGenreType = 0x87;
constexpr uint8_t kSizeInfoType = 0x8F;
constexpr size_t kSizeInfoPacks = 3;
constexpr size_t kTextBytesPerPack = 12;
constexpr size_t kHeaderBytes = 4;
// The sequence number is one byte.
constexpr size_t kMaxPacksPerBlock = 256;
// Bits 0-3 of pack byte 3 count at most this many characters carried over from earlier packs.
constexpr size_t kMaxCharacterPosition = 15;
constexpr uint8_t kCharacterCodeIso8859_1 = 0x00;
constexpr uint8_t kLanguageEnglish = 0x09;

// The genre list of the CD-TEXT standard; a genre's code is its index.
constexpr const char* kGenreNames[] = {
    "Not Used",
    "Not Defined",
    "Adult Contemporary",
    "Alternative Rock",
    "Childrens Music",
    "Classical",
    "Contemporary Christian",
    "Country",
    "Dance",
    "Easy Listening",
    "Erotic",
    "Folk",
    "Gospel",
    "Hip Hop",
    "Jazz",
    "Latin",
    "Musical",
    "New Age",
    "Opera",
    "Operetta",
    "Pop Music",
    "Rap",
    "Reggae",
    "Rock Music",
    "Rhythm & Blues",
    "Sound Effects",
    "Spoken Word",
    "World Music",
};
constexpr uint16_t kGenreNotUsed = 0;
constexpr uint16_t kGenreNotDefined = 1;

uint16_t GenreCode(const std::string& genre) {
    if (genre.empty()) {
        return kGenreNotUsed;
    }
    for (uint16_t code = kGenreNotDefined + 1; code < std::size(kGenreNames); ++code) {
        if (_stricmp(genre.c_str(), kGenreNames[code]) == 0) {
            return code;
        }
    }
    return kGenreNotDefined;
}

uint8_t PackType(int item) {
    return item == kGenre ? kGenreType : static_cast<uint8_t>(kFirstTextType + item);
}

// A genre item carries its two-byte code (big-endian) in front of its text.
std::string PackedItem(int item, const std::string& text) {
    if (item != kGenre) {
        return text;
    }
    uint16_t code = GenreCode(text);
    return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)} + text;
}

// The items of one pack type run on from pack to pack, each ended by a zero byte. A pack names
// the entry (0 the disc, n track n) that its first text byte belongs to and how many bytes of
// that item earlier packs carried.
void AppendItemPacks(uint8_t type, const std::vector<std::string>& items, std::vector<CdTextPack>& packs) {
    std::string stream;
    std::vector<size_t> starts;
    for (const std::string& item : items) {
        starts.push_back(stream.size());
        stream += item;
        stream += '\0';
    }
    size_t owner = 0;
    for (size_t offset = 0; offset < stream.size(); offset += kTextBytesPerPack) {
        while (owner + 1 < starts.size() && starts[owner + 1] <= offset) {
            ++owner;
        }
        CdTextPack pack{};
        pack[0] = type;
        pack[1] = static_cast<uint8_t>(owner);
        pack[3] = static_cast<uint8_t>(std::min(offset - starts[owner], kMaxCharacterPosition));
        stream.copy(reinterpret_cast<char*>(&pack[kHeaderBytes]), kTextBytesPerPack, offset);
        packs.push_back(pack);
    }
}

// The genre belongs to the disc; tracks get genre items only when the input gave some track one.
size_t EntriesFor(int item, const Disc& disc) {
    bool trackGenre = std::any_of(disc.tracks.begin(), disc.tracks.end(),
                                  [](const Track& track) { return !track.text[kGenre].empty(); });
    return item == kGenre && !trackGenre ? 1 : disc.tracks.size() + 1;
}

void AppendSizeInfo(const Disc& disc, const std::array<uint8_t, 16>& typeCounts, size_t totalPacks,
                    std::vector<CdTextPack>& packs) {
    std::array<uint8_t, kSizeInfoPacks * kTextBytesPerPack> info{};
    info[0] = kCharacterCodeIso8859_1;
    info[1] = 1;
    info[2] = static_cast<uint8_t>(disc.tracks.size());
    std::copy(typeCounts.begin(), typeCounts.end(), info.begin() + 4);
    info[20] = static_cast<uint8_t>(totalPacks - 1);
    info[28] = kLanguageEnglish;
    for (size_t part = 0; part < kSizeInfoPacks; ++part) {
        CdTextPack pack{};
        pack[0] = kSizeInfoType;
        pack[1] = static_cast<uint8_t>(part);
        std::copy_n(info.begin() + part * kTextBytesPerPack, kTextBytesPerPack, pack.begin() + kHeaderBytes);
        packs.push_back(pack);
    }
}

} // namespace

std::vector<CdTextPack> BuildCdTextPacks(const Disc& disc) {
    std::vector<CdTextPack> packs;
    std::array<uint8_t, 16> typeCounts{};
    for (int item = 0; item < kTextItemCount; ++item) {
        std::vector<std::string> items;
        bool anyText = false;
        for (size_t entry = 0; entry < EntriesFor(item, disc); ++entry) {
            const std::string& text = entry == 0 ? disc.text[item] : disc.tracks[entry - 1].text[item];
            anyText = anyText || !text.empty();
            items.push_back(PackedItem(item, text));
        }
        if (!anyText) {
            continue;
        }
        size_t before = packs.size();
        AppendItemPacks(PackType(item), items, packs);
        typeCounts[PackType(item) - kFirstTextType] = static_cast<uint8_t>(packs.size() - before);
    }
    if (packs.empty()) {
        return packs;
    }
    size_t totalPacks = packs.size() + kSizeInfoPacks;
    if (totalPacks > kMaxPacksPerBlock) {
        throw RecsimError("the CD-TEXT needs " + std::to_string(totalPacks) + " packs; one block holds " +
                          std::to_string(kMaxPacksPerBlock));
    }
    typeCounts[kSizeInfoType - kFirstTextType] = kSizeInfoPacks;
    AppendSizeInfo(disc, typeCounts, totalPacks, packs);
    for (size_t sequence = 0; sequence < packs.size(); ++sequence) {
        packs[sequence][2] = static_cast<uint8_t>(sequence);
        StoreInvertedCrc(packs[sequence], kPackBytes - 2);
    }
    return packs;
}

} // namespace recsim
